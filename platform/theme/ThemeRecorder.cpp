#include "platform/theme/ThemeRecorder.h"

#include <mutex>

namespace kestrel::platform {

namespace {
std::mutex observerMutex;
ThemeDrawObserver& Observer() {
  static auto* observer = new ThemeDrawObserver();
  return *observer;
}
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
