#include "controls/KsStyleManager.h"

#include "controls/KsStyleMgrChangeLink.h"
#include "framework/Thread.h"
#include "platform/core/ProcessWide.h"

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

// Freed when the program ends (at exit, or by Halt while the windows still exist), by the GUI
// thread only.
constinit platform::ProcessWide<TKsStyleManager> gDefaultManager(platform::ProcessWideOptions<TKsStyleManager>{
    .make = [] { return std::make_unique<TKsStyleManager>(nullptr); }, .freeAtExit = &IsMainThread});

}  // namespace

TKsStyleManager* DefaultStyleManager() { return gDefaultManager.Get(); }

}  // namespace kestrel
