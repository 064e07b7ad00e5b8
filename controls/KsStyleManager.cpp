#include "controls/KsStyleManager.h"

#include "controls/KsStyleMgrChangeLink.h"
#include "controls/ProcessWideObject.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsStyleMgrChangeLink, TObject)
KESTREL_IMPLEMENT_CLASS(TKsStyleManager, TComponent)

TKsStyleManager::TKsStyleManager(TComponent* owner) : TComponent(owner) {}

TKsStyleManager::~TKsStyleManager() {
  Destroying();  // watchers that hear of this manager going see it as going
}

void TKsStyleManager::RegisterChanges(TKsStyleMgrChangeLink* link) { FLinksList.Register(link); }

void TKsStyleManager::UnregisterChanges(TKsStyleMgrChangeLink* link) { FLinksList.Unregister(link); }

void TKsStyleManager::ApplyStyle(TComponent*, const String&) {}

void TKsStyleManager::Change() {
  FLinksList.Notify();
  if (OnChange) OnChange(this);
}

namespace {

TKsStyleManager* MakeDefaultManager() { return new TKsStyleManager(nullptr); }

}  // namespace

TKsStyleManager* DefaultStyleManager() { return ProcessWideObject<TKsStyleManager, MakeDefaultManager>(); }

}  // namespace kestrel
