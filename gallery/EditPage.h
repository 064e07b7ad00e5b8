#pragma once
// The gallery's edit page: single-line edits with a password, a cue banner, read-only text, a
// length limit, capitals and right alignment, each with a linked caption, and a multi-line
// edit that wraps its words.

#include "framework/Form.h"

namespace kestrel::gallery {

class TEditForm : public TForm {
 public:
  explicit TEditForm(TComponent* owner);
};

}  // namespace kestrel::gallery
