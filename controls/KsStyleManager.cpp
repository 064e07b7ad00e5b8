#include "controls/KsStyleManager.h"

#include <algorithm>

#include "controls/KsStyleMgrChangeLink.h"
#include "controls/KsStyleValue.h"
#include "controls/ProcessWideObject.h"
#include "framework/Filer.h"
#include "framework/MemoryStream.h"
#include "framework/Stream.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "settings/KsIniFile.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsStyleMgrChangeLink, TObject)
KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsStyleManager, TKsComponent)

namespace {

const String kDefaultStyle = u"(Default)";
const String kInheritsFrom = u"InheritsFrom";

// A style key below the root: "\" + the name (a name that already starts at the root is kept).
String StyleKey(const String& name) { return !name.empty() && name[0] == u'\\' ? name : u"\\" + name; }

}  // namespace

// One value of the style being put together: later styles replace a value of the same name in
// place, as a store would.
struct TKsStyleManager::TMergedValue {
  String Name;
  TKsValueData Value;
};

void TKsStyleManager::PublishProperties(TClassBuilder<TKsStyleManager>& b) {
  b.Event(u"OnChange", &TKsStyleManager::OnChange, u"TNotifyEvent");
}

TKsStyleManager::TKsStyleManager(TComponent* owner) : TKsComponent(owner), FStyles(new TKsIniFile(nullptr)) {
  PrepareSheet();
}

TKsStyleManager::~TKsStyleManager() {
  Destroying();  // watchers that hear of this manager going see it as going
}

void TKsStyleManager::PrepareSheet() {
  FStyles->OpenKey(StyleKey(kDefaultStyle), true);
  FStyles->OpenKey(u"\\", false);
}

// ---- change notification ----

void TKsStyleManager::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TKsStyleManager::RegisterChanges(TKsStyleMgrChangeLink* link) { FLinksList.Register(link); }

void TKsStyleManager::UnregisterChanges(TKsStyleMgrChangeLink* link) { FLinksList.Unregister(link); }

void TKsStyleManager::Changed() {
  if (ComponentState().Contains(csLoading)) return;
  FLinksList.Notify();
  TKsComponent::Changed();
}

void TKsStyleManager::Loaded() {
  TKsComponent::Loaded();
  Changed();
}

// ---- applying ----

void TKsStyleManager::ApplyStyle(TComponent* component, const String& styleName) {
  if (!component) return;
  FUsesList.clear();
  std::vector<TMergedValue> merged;
  const String classKey = StyleKey(component->ClassName());
  if (!styleName.empty() && styleName[0] == u'.') {
    MergeStyle(classKey, merged);
    MergeStyle(StyleKey(styleName), merged);
  } else if (FStyles->KeyExists(classKey)) {
    MergeStyle(classKey, merged);
  } else {
    MergeStyle(StyleKey(kDefaultStyle), merged);
  }
  ApplyValues(component, merged);
}

void TKsStyleManager::MergeStyle(const String& styleKey, std::vector<TMergedValue>& merged) {
  String parent;
  FStyles->ReadString(StyleKey(styleKey), kInheritsFrom, kDefaultStyle, parent);
  const bool seen =
      std::any_of(FUsesList.begin(), FUsesList.end(), [&](const String& s) { return SameText(s, parent); });
  if (!SameText(parent, styleKey) && !seen) {
    FUsesList.push_back(parent);
    MergeStyle(parent, merged);
  }
  TStringList names;
  if (!FStyles->EnumValues(StyleKey(styleKey), names)) return;  // a missing style adds nothing
  names.Sort();
  for (int i = 0; i < names.Count(); ++i) {
    const TKsIniEntry* entry = FStyles->GetValueEntry(StyleKey(styleKey), names[i]);
    if (!entry) continue;
    const auto same =
        std::find_if(merged.begin(), merged.end(), [&](const TMergedValue& v) { return SameText(v.Name, names[i]); });
    if (same != merged.end()) same->Value = entry->ValueData();
    else merged.push_back({names[i], entry->ValueData()});
  }
}

void TKsStyleManager::ApplyValues(TComponent* component, const std::vector<TMergedValue>& merged) {
  for (const TMergedValue& value : merged) AssignStyleValue(component, value.Name, value.Value);
}

// ---- the sheet ----

void TKsStyleManager::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TKsStyleManager::SaveToFile(const String& fileName) {
  TFileStream stream(fileName, fmCreate | fmShareDenyWrite);
  SaveToStream(stream);
}

void TKsStyleManager::LoadFromStream(TStream& stream) {
  FStyles->LoadFromStream(stream);
  Changed();
}

void TKsStyleManager::SaveToStream(TStream& stream) { FStyles->SaveToStream(stream); }

void TKsStyleManager::Clear() {
  FStyles->Clear();
  PrepareSheet();
}

void TKsStyleManager::GetStyleNames(TStrings& names) {
  names.Clear();
  FStyles->EnumSubKeys(u"\\", names);
}

String TKsStyleManager::GetAncestorStyle(const String& styleName) {
  String parent;
  FStyles->ReadString(StyleKey(styleName), kInheritsFrom, String(), parent);
  return parent;
}

void TKsStyleManager::GetProperties(const String& styleName, TStrings& propNames) {
  TStringList names;
  if (!FStyles->EnumValues(StyleKey(styleName), names)) return;
  for (int i = 0; i < names.Count(); ++i)
    if (!SameText(names[i], kInheritsFrom)) propNames.Add(names[i]);
}

void TKsStyleManager::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TKsStyleManager*>(source);
  if (!other) {
    TKsComponent::Assign(source);  // raises the cannot-assign error
    return;
  }
  TMemoryStream stream;
  other->FStyles->SaveToStream(stream);
  stream.SetPosition(0);
  LoadSheetInUpdate(stream);
}

void TKsStyleManager::LoadSheetInUpdate(TStream& stream) {
  BeginUpdate();
  struct EndAtExit {
    TKsStyleManager& manager;
    ~EndAtExit() { manager.EndUpdate(); }
  } end{*this};
  FStyles->LoadFromStream(stream);
}

bool TKsStyleManager::SheetHasKeys() { return FStyles->SubKeysCount(u"\\") > 0; }

void TKsStyleManager::DefineProperties(TFiler& filer) {
  TKsComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      u"Style", [this](TStream& stream) { LoadSheetInUpdate(stream); },
      [this](TStream& stream) { FStyles->SaveToStream(stream); }, SheetHasKeys());
}

namespace {

TKsStyleManager* MakeDefaultManager() { return new TKsStyleManager(nullptr); }

}  // namespace

TKsStyleManager* DefaultStyleManager() { return ProcessWideObject<TKsStyleManager, MakeDefaultManager>(); }

}  // namespace kestrel
