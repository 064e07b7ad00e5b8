#pragma once
// The gallery's markup page: the dialog's captions as they appear there, a sample of every tag
// with working links (and a menu on them), check boxes and radio buttons, and a snippet store
// whose pages switch by link.

#include "framework/Form.h"

namespace kestrel {
class TLabel;
class TPopupMenu;
}  // namespace kestrel

namespace kestrel::gallery {

class TMarkupForm : public TForm {
 public:
  explicit TMarkupForm(TComponent* owner);

 private:
  TPopupMenu* MakeLinkMenu();

  TLabel* status_ = nullptr;
};

}  // namespace kestrel::gallery
