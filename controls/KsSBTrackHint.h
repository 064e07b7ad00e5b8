#pragma once
// The track hint of a dragged scroll-bar thumb: the text from the bar's OnScrollHintNeeded,
// shown in a hint window (markup when the bar's IsHTML is on) beside the thumb and kept on the
// desktop. It lives from the thumb's press to its release.

#include <memory>

#include "framework/Canvas.h"
#include "framework/Object.h"

namespace kestrel {

class TKsSBHandlerCustom;
class TKsHintWindow;

class TKsSBTrackHint {
 public:
  TKsSBTrackHint();
  ~TKsSBTrackHint();
  // Shows `text` beside the bar's current thumb; an empty text, a bar without an attached
  // control on a parent, or a control being designed shows nothing.
  void Show(const TKsSBHandlerCustom& bar, const String& text);
  const String& Text() const { return text_; }
  // Where the hint is on the screen (empty while nothing is shown).
  const TRect& Bounds() const { return bounds_; }
  // The window, made on the first text shown (null before).
  TKsHintWindow* Window() const { return window_.get(); }

  // A hint of `width` x `height` whose bottom-right corner lies one pixel above and left of
  // `anchor` (screen coordinates), moved back inside `desktop` where it sticks out.
  static TRect Place(TPoint anchor, int width, int height, const TRect& desktop);

 private:
  static TPoint Anchor(const TKsSBHandlerCustom& bar);
  static bool CanShow(const TKsSBHandlerCustom& bar);
  void Hide();

  String text_;
  TRect bounds_{0, 0, 0, 0};
  std::unique_ptr<TKsHintWindow> window_;
};

}  // namespace kestrel
