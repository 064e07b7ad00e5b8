#pragma once
// TMarkupTextLabel: a label whose caption is marked-up text. Caption() keeps the markup exactly;
// the label shows its plain text (line breaks kept, tags dropped), word-wrapped. It stands in for
// the formatted markup label until that control exists.

#include "framework/Label.h"

namespace kestrel {

class TMarkupTextLabel : public TLabel {
 public:
  explicit TMarkupTextLabel(TComponent* owner);

  // What the label shows: the caption's text without markup.
  const String& PlainText() const { return plainText_; }

 protected:
  void Paint() override;
  void Changed() override;

 private:
  String plainText_;
};

}  // namespace kestrel
