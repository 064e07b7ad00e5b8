#pragma once
// TKsEditBorderPainter: the edit control's border in the non-client area. Unthemed, the flat
// border in the control's five border colours (sunken when the control is not flat) and the
// platform scroll bars painted flat; themed, the theme's edit border ring in the control's state.
// It also fills the corner between two owner-drawn scroll bars.

#include "controls/ThemedElements.h"
#include "framework/Canvas.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

class TCustomKsEdit;

class TKsEditBorderPainter {
 public:
  explicit TKsEditBorderPainter(TCustomKsEdit& edit) : edit_(edit) {}

  // First step of a paint pass: a flat, unthemed control paints its border at once.
  void PaintFlatBorder();
  // The corner between both owner-drawn bars of a multi-line edit, in the vertical bar's colour.
  // It lies in the non-client area: painted on the window DC at the end of a paint pass, and by the
  // bar controller's non-client paint in place of its own corner. False when the edit paints none.
  void PaintCorner();
  bool PaintCorner(TCanvas& windowCanvas, const TRect& corner);
  // The whole non-client border as the control's look asks (last step of a paint pass and the
  // non-client paint); nothing while the control's style-change guard is set.
  void PaintNonClientBorder();

  // The theme part and state the border ring is drawn with, from the control's state.
  TThemedElementDetails ThemedBorderDetails() const;

 private:
  // Focused or under the mouse.
  bool Active() const;
  // The unthemed border on the window DC, then the flat platform scroll bars.
  void PaintBorder(platform::HDC dc);
  void PaintFlatPlatformBars(platform::HDC dc);
  void PaintThemedRing(platform::HDC dc);
  // Takes the platform border bit off and puts it back under the guard, so the platform draws
  // no border of its own over the painted one.
  void ToggleBorderStyle();
  // The client rectangle in window coordinates grown by the visible scroll bars.
  TRect ScrollArea() const;
  // The sunken face between two platform scroll bars, inside `area`.
  void PaintSizeBox(platform::HDC dc, const TRect& area) const;
  bool HasBothPlatformBars() const;
  bool UsesCustomBars() const;
  TRect WindowFrame() const;

  TCustomKsEdit& edit_;
};

}  // namespace kestrel
