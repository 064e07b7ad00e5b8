#include "platform/theme/ThemeRecorder.h"

#include <mutex>

#include "platform/core/ProcessWide.h"
namespace kestrel::platform {

namespace {
std::mutex observerMutex;
constinit ProcessWide<ThemeDrawObserver> gObserver;
ThemeDrawObserver& Observer() { return *gObserver; }
}  // namespace

ThemeDrawObserver SetThemeDrawObserver(ThemeDrawObserver observer) {
  std::lock_guard lock(observerMutex);
  std::swap(Observer(), observer);
  return observer;
}

void NotifyThemeDraw(const ThemeDrawRecord& record) {
  ThemeDrawObserver observer;
  {
    std::lock_guard lock(observerMutex);
    observer = Observer();
  }
  if (observer) observer(record);
}

}  // namespace kestrel::platform
