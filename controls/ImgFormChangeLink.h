#pragma once
// TImgFormChangeLink: how a control that borrows an image form's background hears that the
// background changed. The image form keeps the links registered with it; a link that dies
// unregisters itself, an image form that dies detaches its links.

#include "framework/ChangeLink.h"

namespace kestrel {

class TCustomKsImageForm;

class TImgFormChangeLink : public TChangeLinkOf<TCustomKsImageForm> {
  KESTREL_CLASS(TImgFormChangeLink)
  TImgFormChangeLink() = default;
};

}  // namespace kestrel
