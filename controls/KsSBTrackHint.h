#pragma once
// The track hint of a dragged scroll-bar thumb: its text (from the bar's OnScrollHintNeeded) and
// where on the desktop it goes. The window that shows it is not built yet: Show records the text
// and the place, measured with a fixed size per character.

#include "framework/Canvas.h"
#include "framework/Object.h"

namespace kestrel {

class TKsSBHandlerCustom;

class TKsSBTrackHint {
 public:
  TKsSBTrackHint();
  ~TKsSBTrackHint();
  // Records `text` for the bar's current thumb; an empty text shows nothing.
  void Show(const TKsSBHandlerCustom& bar, const String& text);
  const String& Text() const { return text_; }
  // Where the hint goes on the screen (empty without an attached control or text).
  const TRect& Bounds() const { return bounds_; }

  // A hint of `width` x `height` whose bottom-right corner lies one pixel above and left of
  // `anchor` (screen coordinates), moved back inside `desktop` where it sticks out.
  static TRect Place(TPoint anchor, int width, int height, const TRect& desktop);

 private:
  static TPoint Anchor(const TKsSBHandlerCustom& bar);

  String text_;
  TRect bounds_{0, 0, 0, 0};
};

}  // namespace kestrel
