#pragma once
// The gallery's images page: a PNG image list of images in every transparency mode, drawn plain,
// centred, stretched, stretched keeping the aspect and tiled over a checkerboard, after a trip
// through the list's stored format.

#include "framework/Form.h"

namespace kestrel::gallery {

class TImagesForm : public TForm {
 public:
  explicit TImagesForm(TComponent* owner);
};

}  // namespace kestrel::gallery
