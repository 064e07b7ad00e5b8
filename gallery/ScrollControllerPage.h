#pragma once
// The gallery's page of owner-drawn scroll bars worn by plain windowed controls through the
// scroll-bar controller: both bars with the corner, the vertical bar on the left, flat bars.

#include "framework/Form.h"

namespace kestrel::gallery {

class TScrollControllerForm : public TForm {
 public:
  explicit TScrollControllerForm(TComponent* owner);
};

}  // namespace kestrel::gallery
