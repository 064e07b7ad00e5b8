#pragma once
// The gallery's page of smooth fills: a grid of fill kinds, roundings, shadows and glows, and
// the busy marquee animating over a fill, as the download dialog shows it and in other shapes.

#include "framework/Form.h"

namespace kestrel::gallery {

class TFillsForm : public TForm {
 public:
  explicit TFillsForm(TComponent* owner);
};

}  // namespace kestrel::gallery
