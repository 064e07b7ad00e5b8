#include "controls/ImgFormChangeLink.h"

#include "controls/KsImageForm.h"

namespace kestrel {

TImgFormChangeLink::~TImgFormChangeLink() {
  if (FSender) FSender->UnregisterChanges(this);
}

void TImgFormChangeLink::Change() {
  if (FOnChange) FOnChange(FSender);
}

}  // namespace kestrel
