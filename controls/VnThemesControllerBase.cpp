#include "controls/VnThemesControllerBase.h"

#include "controls/VnThemeRenderer.h"
#include "controls/VnThemeServices.h"
#include "framework/Exceptions.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TVnThemesControllerBase, TComponent)

void TVnThemesControllerBase::PublishProperties(TClassBuilder<TVnThemesControllerBase>& b) {
  b.Property(u"Enabled", &TVnThemesControllerBase::Enabled, &TVnThemesControllerBase::SetEnabled).Default(true);
}

TVnThemesControllerBase::TVnThemesControllerBase(TComponent* owner) : TComponent(owner) {}

void TVnThemesControllerBase::SetEnabled(bool value) {
  FEnabled = value;
  TVnThemeRenderer* renderer = GetThemeRenderer();
  if (!renderer) return;
  renderer->SetEnabled(value);
  if (value && !ComponentState().Contains(csDesigning))
    GlobalThemeServices()->SelectThemeRenderer(renderer->GetThemeRendererName());
}

TVnThemeRenderer* TVnThemesControllerBase::GetThemeRenderer() {
  throw Exception(u"TVnThemesControllerBase.GetThemeRenderer method is not implemented!");
}

void TVnThemesControllerBase::RegisterController() {
  throw Exception(ClassName() + u".RegisterController method undefined!");
}

void TVnThemesControllerBase::UnregisterController() {
  throw Exception(ClassName() + u".UnregisterController method undefined!");
}

void TVnThemesControllerBase::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (component != this) return;
  if (operation == opInsert) {
    RegisterController();
  } else if (ComponentState().Contains(csDestroying)) {
    // Freed with its owner: a destructor cannot report the hook's failure, so it is dropped.
    try {
      UnregisterController();
    } catch (const Exception&) {
    }
  } else {
    UnregisterController();
  }
}

}  // namespace kestrel
