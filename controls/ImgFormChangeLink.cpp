#include "controls/ImgFormChangeLink.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TImgFormChangeLink, TObject)

}  // namespace kestrel
