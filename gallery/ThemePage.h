#pragma once
// The gallery's theme page: the sheet of every class, part and state the theme engine draws,
// in the current look, and a button that switches the look (as Ctrl+T does anywhere).

#include "framework/Form.h"

namespace kestrel::gallery {

class TThemeForm : public TForm {
 public:
  explicit TThemeForm(TComponent* owner);
};

}  // namespace kestrel::gallery
