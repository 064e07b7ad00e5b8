#pragma once
// The edit control's paint pass. The background (image form or parent picture behind a
// transparent edit, tiled bitmap, colour, or the theme's edit part) and the visible lines are
// painted into an off-screen bitmap of the client size and copied to the control in one piece;
// the cue banner goes straight on the control afterwards. Also answers the erase step.

#include "controls/ThemedElements.h"
#include "edit/KsEditLinePainter.h"
#include "framework/Canvas.h"
#include "platform/gdi/GdiTypes.h"

namespace kestrel {

class TCustomKsEdit;

class TKsEditPainter {
 public:
  explicit TKsEditPainter(TCustomKsEdit& edit) : edit_(edit), lines_(edit) {}

  // The whole pass on the control's canvas.
  void Paint(TCanvas& canvas);
  // Background and lines into the off-screen bitmap, then the changed part onto Canvas.
  void PaintText(TCanvas& canvas);
  // One line into the canvas the pass paints into now.
  void PaintLine(int y);
  // While the edit is unfocused and empty.
  bool CueBannerShown() const;
  void PaintCueBanner(TCanvas& canvas);
  // The erase step: image-form and see-through backgrounds. Always "erased".
  void EraseBackground(platform::HDC dc);
  // The theme's edit part for the control's state.
  TThemedElementDetails ThemeDetails() const;
  // Around a typed key: the repaints asked for meanwhile are held back, and at the end only the
  // lines of the caret's paragraph from the caret's old and new line on are repainted when the
  // rest of the view stayed as it was (else the edit rectangle).
  void BeginTyping();
  void EndTyping();
  // False while a typed key's repaints are held back (noted for EndTyping).
  bool TakeInvalidation();
  // TopLine or LeftChar changed: a vertical move of less than a page scrolls the picture and
  // repaints the lines it exposes; anything else repaints the edit rectangle.
  void ViewChanged();

 private:
  void PaintBackground(TCanvas& target, TCanvas& control, const TRect& r);
  void PaintThemeBackground(platform::HDC dc);
  bool ErasedBehind() const;
  // Whether the picture may move with the text: nothing behind it that stays in place.
  bool PictureScrolls() const;
  void RememberView();
  bool TypingKeptTheView() const;
  int ParagraphOf(int y) const;
  void InvalidateRows(int first, int last);
  void PaintImageFormBackground(platform::HDC dc);
  void PaintParentBackground(platform::HDC dc);

  TCustomKsEdit& edit_;
  TKsEditLinePainter lines_;
  TCanvas* target_ = nullptr;
  int viewTop_ = -1;
  int viewLeft_ = -1;
  struct TTypingStart {
    int caretY, lines, top, left;
    bool selected;
  };
  bool typing_ = false;
  bool typingInvalidated_ = false;
  TTypingStart typingStart_{};
};

}  // namespace kestrel
