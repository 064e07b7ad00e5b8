#pragma once
// The image types of the image events. The framework's bitmap and picture classes are not there
// yet, so the events speak of this small graphic interface; only the size is needed to lay an
// image out, the painter adds what it needs to draw.

#include <memory>

namespace kestrel {

class TVnHTMLGraphic {
 public:
  virtual ~TVnHTMLGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// What the extended image event fills in: holds (shares) one graphic or none.
class TVnHTMLPicture {
 public:
  const std::shared_ptr<const TVnHTMLGraphic>& Graphic() const { return graphic_; }
  void SetGraphic(std::shared_ptr<const TVnHTMLGraphic> value) { graphic_ = std::move(value); }
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  bool Empty() const { return graphic_ == nullptr; }

 private:
  std::shared_ptr<const TVnHTMLGraphic> graphic_;
};

}  // namespace kestrel
