#pragma once
// The gallery's second page: every flat border kind by name, and the raised and lowered bevel
// rings, 3-D frames and 3-D edges the controls are drawn with, every bevel style and the grab
// handles of a panel.

#include "framework/Form.h"

namespace kestrel::gallery {

class TBordersForm : public TForm {
 public:
  explicit TBordersForm(TComponent* owner);
};

}  // namespace kestrel::gallery
