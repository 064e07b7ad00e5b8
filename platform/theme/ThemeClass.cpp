#include "platform/theme/ThemeClass.h"

#include <array>
#include <utility>

namespace kestrel::platform {

namespace {
constexpr std::array<std::pair<std::u16string_view, ThemeClass>, 24> kNames = {{
    {u"BUTTON", ThemeClass::Button},
    {u"EDIT", ThemeClass::Edit},
    {u"SCROLLBAR", ThemeClass::ScrollBar},
    {u"WINDOW", ThemeClass::Window},
    {u"TOOLBAR", ThemeClass::Toolbar},
    {u"STATUS", ThemeClass::Status},
    {u"TOOLTIP", ThemeClass::Tooltip},
    {u"PROGRESS", ThemeClass::Progress},
    {u"COMBOBOX", ThemeClass::ComboBox},
    {u"HEADER", ThemeClass::Header},
    {u"LISTVIEW", ThemeClass::ListView},
    {u"TREEVIEW", ThemeClass::TreeView},
    {u"TAB", ThemeClass::Tab},
    {u"REBAR", ThemeClass::Rebar},
    {u"SPIN", ThemeClass::Spin},
    {u"TRACKBAR", ThemeClass::TrackBar},
    {u"MENU", ThemeClass::Menu},
    {u"EXPLORERBAR", ThemeClass::ExplorerBar},
    {u"PAGE", ThemeClass::Page},
    {u"STARTPANEL", ThemeClass::StartPanel},
    {u"TASKBAND", ThemeClass::TaskBand},
    {u"TASKBAR", ThemeClass::TaskBar},
    {u"TRAYNOTIFY", ThemeClass::TrayNotify},
    {u"CLOCK", ThemeClass::Clock},
}};

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

std::u16string_view Trimmed(std::u16string_view name) {
  while (!name.empty() && name.front() == u' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
  return name;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

std::optional<ThemeClass> Lookup(std::u16string_view name) {
  for (const auto& [known, themeClass] : kNames)
    if (SameName(known, name)) return themeClass;
  return std::nullopt;
}
}  // namespace

std::optional<ThemeClass> ParseThemeClassList(std::u16string_view classList) {
  while (true) {
    const std::size_t end = classList.find(u';');
    if (auto found = Lookup(Trimmed(classList.substr(0, end)))) return found;
    if (end == std::u16string_view::npos) return std::nullopt;
    classList.remove_prefix(end + 1);
  }
}

bool HasOwnDrawings(ThemeClass themeClass) { return themeClass <= ThemeClass::Progress; }

}  // namespace kestrel::platform
