#pragma once
// TMarkupTextLabel: a windowless label whose caption is marked-up text. Caption() keeps the
// markup exactly; the label shows its plain text (line breaks kept, tags dropped), word-wrapped.
// It stands in for the formatted markup label until that control exists.

#include "framework/GraphicControl.h"
#include "framework/Label.h"

namespace kestrel {

class TMarkupTextLabel : public TGraphicControl {
 public:
  explicit TMarkupTextLabel(TComponent* owner);

  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

  // What the label shows: the caption's text without markup.
  const String& PlainText() const { return plainText_; }

 protected:
  void Paint() override;
  void Changed() override;

 private:
  TTextLayout layout_ = tlTop;
  bool transparent_ = false;
  String plainText_;
};

}  // namespace kestrel
