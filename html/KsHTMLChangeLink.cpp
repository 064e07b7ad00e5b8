#include "html/KsHTMLChangeLink.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsHTMLChangeLink, TObject)

}  // namespace kestrel
