#include "platform/theme/internal/ThemeHandles.h"

#include "platform/core/HandleTable.h"

namespace kestrel::platform {

namespace {
HandleTable<ThemeData>& Table() {
  static auto* table = new HandleTable<ThemeData>(static_cast<std::uint8_t>(HandleTag::Theme));
  return *table;
}
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
