#pragma once
// The window classes the theme knows, and the parsing of OpenThemeData's class lists.

#include <optional>
#include <string_view>

namespace kestrel::platform {

enum class ThemeClass {
  Button,
  Edit,
  ScrollBar,
  Window,
  Toolbar,
  Status,
  Tooltip,
  Progress,
  // Known to the theme, drawn as plain flat surfaces: their parts have no drawing of their own.
  ComboBox,
  Header,
  ListView,
  TreeView,
  Tab,
  Rebar,
  Spin,
  TrackBar,
  Menu,
  ExplorerBar,
  Page,
  StartPanel,
  TaskBand,
  TaskBar,
  TrayNotify,
  Clock,
};

// The first class of a semicolon-separated list that the theme knows (case-insensitive, spaces
// around names ignored); nothing when none is known.
std::optional<ThemeClass> ParseThemeClassList(std::u16string_view classList);

// Whether the class has drawings of its own parts (the first eight above).
bool HasOwnDrawings(ThemeClass themeClass);

}  // namespace kestrel::platform
