#pragma once
// TCustomKsLabel: the control library's label. It adds an inner border, an end ellipsis, theme
// mode settings and a style-manager link to the framework's label, and paints its caption as
// plain text; TKsHTMLLabel shows it as markup.

#include <memory>

#include "controls/KsThemeStyleWiring.h"
#include "foundation/VnThemeMode.h"
#include "framework/Label.h"

namespace kestrel {

class TKsStyleManager;

class TCustomKsLabel : public TLabel {
  KESTREL_CLASS(TCustomKsLabel)
  explicit TCustomKsLabel(TComponent* AOwner);
  ~TCustomKsLabel() override;

  // Empty margin on all four sides.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  // Plain text that does not fit ends with an ellipsis.
  bool EndEllipsis() const { return FEndEllipsis; }
  void SetEndEllipsis(bool Value);
  TVnThemeMode ThemeMode() const { return FThemeStyle.ThemeMode(); }
  void SetThemeMode(TVnThemeMode Value);
  bool ThemeGlobalMode() const { return FThemeStyle.ThemeGlobalMode(); }
  void SetThemeGlobalMode(bool Value);
  // The legacy switch: true is ttmPlatform, false ttmNone.
  bool UseXPThemes() const { return FThemeStyle.UseXPThemes(); }
  void SetUseXPThemes(bool Value) { SetThemeMode(Value ? ttmPlatform : ttmNone); }
  // Whether the label paints themed now (its mode, or the application's, is in use).
  bool Themed() const;

  // The manager whose style (class style, or the named one) is applied to the label whenever
  // the manager, the name or the manager's sheet changes. Outside design mode every label starts
  // with the application's default manager; a manager that goes away is forgotten.
  TKsStyleManager* StyleManager() const { return FThemeStyle.StyleManager(); }
  void SetStyleManager(TKsStyleManager* Value);
  const String& StyleName() const { return FThemeStyle.StyleName(); }
  void SetStyleName(const String& Value);

  // At design time a caption that still equals the old name follows the new one.
  void SetName(const String& Value) override;

  // Extent of the caption as plain text, measured in `rect`'s width.
  TRect MeasurePlainText(const TRect& rect);

 protected:
  void Paint() override;
  void Changed() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The text the label shows (descendants may show another than the caption).
  virtual String LabelText() const { return Caption(); }
  // Plain mode: fits the bounds to the text when AutoSize is on.
  void AdjustPlainBounds();
  unsigned PlainTextFlags() const;
  void FillBackground();
  // Applies the manager's style for the label's class and StyleName (not while loading).
  void UpdateStyle();

 private:
  // The theme mode, the style manager and its change link.
  TKsThemeStyleWiring FThemeStyle;
  bool FEndEllipsis = false;
  int FBorderWidth = 0;
};

}  // namespace kestrel
