#include "controls/KsCtrlScrollBarStyles.h"

#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsCtrlScrollBarStyles, TKsSBHandlerCustom)

TKsCtrlScrollBarStyles::TKsCtrlScrollBarStyles(TKsSBControllerLink* controller) : TKsSBHandlerCustom(controller) {}

void TKsCtrlScrollBarStyles::PublishProperties(TClassBuilder<TKsCtrlScrollBarStyles>&) {}

}  // namespace kestrel
