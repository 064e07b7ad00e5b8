#pragma once
// TKsHintWindow: the library's hint window. A borderless top-level window above all others that
// is never activated and has no taskbar entry; it shows a text, plain or as markup, in the info
// colours, measured for a maximum width and shown at a screen rectangle.
//
// Plain text is drawn here. Markup needs the markup library, which builds on this one: it
// registers its content with SetMarkupHintContent (html/KsHTMLHintContent.h); until it does, a
// markup hint shows its text as it is.

#include <memory>

#include "framework/CustomControl.h"

namespace kestrel {

// What a hint window shows inside its frame.
class TKsHintContent {
 public:
  virtual ~TKsHintContent() = default;
  // Takes `text` and answers the size it needs on `canvas` (whose font is the hint's), at most
  // `maxWidth` wide.
  virtual platform::SIZE Prepare(TCanvas& canvas, const String& text, int maxWidth) = 0;
  // Paints the prepared text into `r`.
  virtual void Paint(TCanvas& canvas, const TRect& r) = 0;
};

using TKsHintContentFactory = std::unique_ptr<TKsHintContent> (*)();
// The content markup hints are made with (null: markup is shown as plain text).
void SetMarkupHintContent(TKsHintContentFactory factory);

class TKsHintWindow : public TCustomControl {
  KESTREL_CLASS(TKsHintWindow)
  explicit TKsHintWindow(bool markup = false);
  ~TKsHintWindow() override;

  bool IsMarkup() const { return markup_; }
  // The rectangle, at the origin, that shows `text` at most `maxWidth` wide, frame included.
  TRect CalcHintRect(int maxWidth, const String& text);
  // Shows `text` at `screenRect` without taking the activation.
  void ActivateHint(const TRect& screenRect, const String& text);
  void HideHint();
  bool Shown() const { return shown_; }
  const String& Text() const { return text_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  void PrepareContent(const String& text, int maxWidth);

  bool markup_;
  bool shown_ = false;
  String text_;
  String prepared_;
  int preparedWidth_ = -1;
  std::unique_ptr<TKsHintContent> content_;
};

}  // namespace kestrel
