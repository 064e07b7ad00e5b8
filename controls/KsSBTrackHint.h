#pragma once
// The small window that shows the position a dragged scroll-bar thumb stands for.

#include "framework/Object.h"

namespace kestrel {

class TKsSBHandlerCustom;

class TKsSBTrackHint {
 public:
  TKsSBTrackHint();
  ~TKsSBTrackHint();
  // Shows `text` next to the bar's thumb; an empty text hides the window.
  void Show(const TKsSBHandlerCustom& bar, const String& text);
  const String& Text() const { return text_; }

 private:
  String text_;
};

}  // namespace kestrel
