#include "platform/theme/internal/ThemeHandles.h"

#include "platform/core/HandleTable.h"
#include "platform/core/ProcessWide.h"

namespace kestrel::platform {

namespace {
// Emptied in place by a test reset: a theme handle from before names nothing after it.
using ThemeHandles = HandleTable<ThemeData>;
constinit ProcessWide<ThemeHandles> gThemeHandles(ProcessWideOptions<ThemeHandles>{
    .make = &MakeHandleTable<ThemeData, HandleTag::Theme>, .renew = [](ThemeHandles& old) {
      old.Clear();
      return &old;
    }});

ThemeHandles& Table() { return *gThemeHandles; }
}  // namespace

HTHEME InsertThemeData(ThemeData data) {
  return reinterpret_cast<HTHEME>(Table().Insert(std::make_shared<ThemeData>(data)));
}

std::shared_ptr<ThemeData> LookupThemeData(HTHEME theme) {
  return Table().Lookup(reinterpret_cast<std::uintptr_t>(theme));
}

bool RemoveThemeData(HTHEME theme) { return Table().Remove(reinterpret_cast<std::uintptr_t>(theme)) != nullptr; }

std::size_t OpenThemeHandleCount() { return Table().Count(); }

}  // namespace kestrel::platform
