#pragma once
// TKsThemeStyleWiring: the theme and style state every themable windowed control of the library
// holds, in one piece: the requested theme mode and whether the control follows the
// application-wide one, and the style manager (with its change link) the control takes
// property styles from. The control owns one, forwards its component notifications to it and
// runs its own theme-change repaint when a setter reports a change.

#include <functional>
#include <memory>

#include "foundation/VnThemeMode.h"
#include "framework/Component.h"

namespace kestrel {

class TControl;
class TKsStyleManager;
class TKsStyleMgrChangeLink;

class TKsThemeStyleWiring {
 public:
  // `restyled` runs after a style was applied (the control repaints what the style touched);
  // `sheetChanged`, when given, after the style that a change of the manager's sheet applied.
  TKsThemeStyleWiring(TControl& control, std::function<void()> restyled, std::function<void()> sheetChanged = {});
  ~TKsThemeStyleWiring();
  TKsThemeStyleWiring(const TKsThemeStyleWiring&) = delete;
  TKsThemeStyleWiring& operator=(const TKsThemeStyleWiring&) = delete;

  // ---- theme: the setters store a different value and report whether they did ----
  TVnThemeMode ThemeMode() const { return FThemeMode; }
  bool SetThemeMode(TVnThemeMode value);
  bool ThemeGlobalMode() const { return FThemeGlobalMode; }
  bool SetThemeGlobalMode(bool value);
  // ttmPlatform (true) or ttmNone (false).
  bool UseXPThemes() const { return FThemeMode == ttmPlatform; }
  bool SetUseXPThemes(bool value);
  // The mode to paint with now.
  TVnThemeMode UseThemeMode() const;

  // ---- style ----
  TKsStyleManager* StyleManager() const { return FStyleManager; }
  // Stops watching the old manager, watches and registers with the new one and applies its style.
  void SetStyleManager(TKsStyleManager* value);
  const String& StyleName() const { return FStyleName; }
  void SetStyleName(const String& value);
  // Applies the style named StyleName (not while the control loads or reads its stored state)
  // with the window's redraw switched off, then runs `restyled`.
  void UpdateStyle();
  // The end of the control's construction: the process-wide default manager, unless designing.
  void AssignDefaultManager();
  // The control's Notification: a manager that goes is forgotten.
  void Notification(TComponent* component, TOperation operation);

 private:
  TControl& control_;
  std::function<void()> restyled_;
  std::function<void()> sheetChanged_;
  std::unique_ptr<TKsStyleMgrChangeLink> FStyleMgrLink;
  TKsStyleManager* FStyleManager = nullptr;
  String FStyleName;
  bool FThemeGlobalMode = false;
  TVnThemeMode FThemeMode = ttmPlatform;
};

}  // namespace kestrel
