#pragma once
// The gallery's page of owner-drawn scroll bars: horizontal and vertical bars in several styles,
// each live (hover, press, drag, auto-repeat) and scrolling a position shown beside it.

#include "framework/Form.h"

namespace kestrel::gallery {

class TScrollBarsForm : public TForm {
 public:
  explicit TScrollBarsForm(TComponent* owner);
};

}  // namespace kestrel::gallery
