#pragma once
// TKsXPThemedControl: the windowed base of the library's themable controls. It holds the two
// theme properties and answers the effective-mode question, draws a themed non-client border
// around the client area (bevels and a border band), repaints on every theme change, refreshes
// its scroll bars when redraw comes back on, can swallow style-change notices while a
// descendant changes its own styles, and takes property styles from a style manager.

#include <cstdint>
#include <memory>

#include "controls/DrawingTypes.h"
#include "controls/KsThemeStyleWiring.h"
#include "controls/ThemedElements.h"
#include "foundation/VnThemeMode.h"
#include "framework/CustomControl.h"
#include "framework/EnumSet.h"

namespace kestrel {

enum TBevelKind : std::uint8_t { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelEdge : std::uint8_t { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TEnumSet<TBevelEdge>;

class TKsXPThemedControl : public TCustomControl {
  KESTREL_CLASS(TKsXPThemedControl)
  explicit TKsXPThemedControl(TComponent* owner);
  ~TKsXPThemedControl() override;

  const String& About() const { return FAbout; }
  void SetAbout(const String& value) { FAbout = value; }
  TKsStyleManager* StyleManager() const { return FThemeStyle.StyleManager(); }
  virtual void SetStyleManager(TKsStyleManager* value);
  const String& StyleName() const { return FThemeStyle.StyleName(); }
  virtual void SetStyleName(const String& value);

  // ---- theme ----
  TVnThemeMode ThemeMode() const { return FThemeStyle.ThemeMode(); }
  virtual void SetThemeMode(TVnThemeMode value);
  // True: the control follows the application-wide mode instead of its own.
  bool ThemeGlobalMode() const { return FThemeStyle.ThemeGlobalMode(); }
  virtual void SetThemeGlobalMode(bool value);
  // True exactly while ThemeMode is ttmPlatform; assigning picks ttmPlatform or ttmNone.
  bool UseXPThemes() const { return FThemeStyle.UseXPThemes(); }
  virtual void SetUseXPThemes(bool value);
  // The mode to paint with now, and whether that is a themed one.
  TVnThemeMode UseThemeMode() const;
  bool IsThemed() const { return UseThemeMode() != ttmNone; }
  // The theme class the control's frame is drawn with.
  virtual TThemedElement ThemedElement() const { return teEdit; }

  // ---- the non-client frame: bevels outside, then a band BorderWidth wide ----
  TBevelKind BevelKind() const { return bevelKind_; }
  void SetBevelKind(TBevelKind value);
  TVnBevelStyle BevelInner() const { return bevelInner_; }
  void SetBevelInner(TVnBevelStyle value);
  TVnBevelStyle BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TVnBevelStyle value);
  TBevelEdges BevelEdges() const { return bevelEdges_; }
  void SetBevelEdges(TBevelEdges value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  // False: bevels are drawn flat (mono).
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);

 protected:
  // Redraws after a theme-relevant change: a themed, showing control recomputes its frame and
  // repaints all of itself; a classic one (or one without a window) is invalidated.
  virtual void ThemeChanged();
  void WndProc(TMessage& message) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;

  // While true, style-change notices are answered 0 and go no further.
  bool FPreventStyleChange = false;

 private:
  void FrameChanged();
  // The bevel thickness on each listed edge (inner and outer bevel each count once).
  int BevelSize() const;
  // `r` grown by the bevels on their edges (direction -1: shrunk by them).
  TRect BevelRect(TRect r, int direction = 1) const;
  void CalcNonClient(TMessage& message);
  void PaintNonClient(TMessage& message);
  void PaintThemedBorder();
  void PaintClassicBorder();
  void RefreshScrollBars();
  platform::UINT EdgeKind() const;
  platform::UINT EdgeFlags() const;

  String FAbout;
  // The theme mode, the style manager and its change link.
  TKsThemeStyleWiring FThemeStyle;
  std::int32_t FCreating = 0;

  TBevelKind bevelKind_ = bkNone;
  TVnBevelStyle bevelInner_ = bvRaised;
  TVnBevelStyle bevelOuter_ = bvLowered;
  TBevelEdges bevelEdges_{beLeft, beTop, beRight, beBottom};
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  bool ctl3D_ = true;
};

}  // namespace kestrel
