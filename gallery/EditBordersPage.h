#pragma once
// The gallery's edit border page: flat edits in several border kinds and side sets with their
// hover and focus colours, a sunken border in custom colours, disabled and read-only edits, and
// multi-line edits with flat-looking platform scroll bars and with owner-drawn bars.

#include "framework/Form.h"

namespace kestrel::gallery {

class TEditBordersForm : public TForm {
 public:
  explicit TEditBordersForm(TComponent* owner);
};

}  // namespace kestrel::gallery
