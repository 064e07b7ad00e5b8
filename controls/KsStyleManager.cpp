#include "controls/KsStyleManager.h"

#include <algorithm>

#include "controls/KsStyleMgrChangeLink.h"
#include "controls/ProcessWideObject.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsStyleMgrChangeLink, TObject)
KESTREL_IMPLEMENT_CLASS(TKsStyleManager, TComponent)

void TKsStyleMgrChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

TKsStyleManager::TKsStyleManager(TComponent* owner) : TComponent(owner) {}

TKsStyleManager::~TKsStyleManager() {
  Destroying();  // watchers that hear of this manager going see it as going
  for (TKsStyleMgrChangeLink* link : FLinksList) link->FSender = nullptr;
}

void TKsStyleManager::RegisterChanges(TKsStyleMgrChangeLink* link) {
  if (!link || std::find(FLinksList.begin(), FLinksList.end(), link) != FLinksList.end()) return;
  link->FSender = this;
  FLinksList.push_back(link);
}

void TKsStyleManager::UnregisterChanges(TKsStyleMgrChangeLink* link) {
  const auto it = std::find(FLinksList.begin(), FLinksList.end(), link);
  if (it == FLinksList.end()) return;
  link->FSender = nullptr;
  FLinksList.erase(it);
}

void TKsStyleManager::ApplyStyle(TComponent*, const String&) {}

void TKsStyleManager::Change() {
  const auto links = FLinksList;  // a handler may unregister links
  for (TKsStyleMgrChangeLink* link : links)
    if (std::find(FLinksList.begin(), FLinksList.end(), link) != FLinksList.end()) link->Change();
  if (OnChange) OnChange(this);
}

namespace {

TKsStyleManager* MakeDefaultManager() { return new TKsStyleManager(nullptr); }

}  // namespace

TKsStyleManager* DefaultStyleManager() { return ProcessWideObject<TKsStyleManager, MakeDefaultManager>(); }

}  // namespace kestrel
