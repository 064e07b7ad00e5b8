#pragma once
// The gallery's panel page: borders, bevels, grab handles, a see-through panel over a picture
// background shared by an image form, and a panel shaped by an image form's picture.

#include "framework/Form.h"

namespace kestrel::gallery {

class TPanelsForm : public TForm {
 public:
  explicit TPanelsForm(TComponent* owner);
};

}  // namespace kestrel::gallery
