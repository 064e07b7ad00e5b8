#pragma once
// The gallery's themed-frame page: the themed control base's non-client frames of every kind,
// once following the platform's theme and once in the classic look.

#include "framework/Form.h"

namespace kestrel::gallery {

class TThemedForm : public TForm {
 public:
  explicit TThemedForm(TComponent* owner);
};

}  // namespace kestrel::gallery
