#include "framework/Filer.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TFiler, TObject)

}  // namespace kestrel
