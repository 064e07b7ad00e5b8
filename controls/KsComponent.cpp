#include "controls/KsComponent.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsComponent, TComponent)

void TKsComponent::Changed() {
  if (FOnChange) FOnChange(this);
}

}  // namespace kestrel
