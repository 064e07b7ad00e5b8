#pragma once
// TKsStyleManager: a style sheet of named property sets that themed controls take their looks
// from. The sheet lives in a settings store: every key below the root is a style. "(Default)"
// starts every inheritance chain, a key named after a class styles every component of that
// class, a key whose name begins with "." is a named style laid over the class style. A style's
// string value "InheritsFrom" names its parent; every other value assigns a published property
// (a dotted path leads into sub-objects such as the font; "|TypeName" limits it to properties of
// that type). Controls hear of sheet changes through change links.

#include <memory>
#include <vector>

#include "controls/KsComponent.h"
#include "framework/ChangeLink.h"

namespace kestrel {

class TKsIniFile;
class TKsStyleMgrChangeLink;
class TStream;
class TStrings;

class TKsStyleManager : public TKsComponent {
  KESTREL_CLASS(TKsStyleManager)
  explicit TKsStyleManager(TComponent* owner);
  ~TKsStyleManager() override;

  // The sheet. Editing it directly notifies nobody: wrap such edits in BeginUpdate/EndUpdate.
  TKsIniFile* Styles() const { return FStyles.get(); }

  // Assigns the values of the component's style to its published properties: the class style
  // (or "(Default)" when the class has none), then, for a name beginning with ".", that named
  // style over it; each style's ancestors come first, so the nearest one wins.
  virtual void ApplyStyle(TComponent* component, const String& styleName);

  void BeginUpdate() { ++FUpdateCount; }
  // The outermost EndUpdate tells the links and OnChange.
  void EndUpdate();
  void RegisterChanges(TKsStyleMgrChangeLink* link);
  void UnregisterChanges(TKsStyleMgrChangeLink* link);

  // Sheet files and streams in the settings store's own format. Loading notifies.
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream);

  // Empties the sheet down to the "(Default)" style (does not notify).
  void Clear();
  // The style names in stored order.
  void GetStyleNames(TStrings& names);
  // The parent a style names, or "".
  String GetAncestorStyle(const String& styleName);
  // The value names of a style without "InheritsFrom" (nothing for a missing style).
  void GetProperties(const String& styleName, TStrings& propNames);

  using TPersistent::Assign;
  // Copies another manager's sheet (notifying this manager's links); anything else raises.
  void Assign(const TPersistent* source) override;

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent value) { FOnChange = std::move(value); }

 protected:
  // The links in registration order, then OnChange; nothing while loading.
  void Changed() override;
  void Loaded() override;
  void DefineProperties(TFiler& filer) override;

 private:
  struct TMergedValue;
  void PrepareSheet();
  void MergeStyle(const String& styleKey, std::vector<TMergedValue>& merged);
  void ApplyValues(TComponent* component, const std::vector<TMergedValue>& merged);
  bool SheetHasKeys();
  // The store's LoadFromStream inside BeginUpdate/EndUpdate.
  void LoadSheetInUpdate(TStream& stream);

  std::unique_ptr<TKsIniFile> FStyles;
  TChangeLinkList FLinksList{this};
  int FUpdateCount = 0;
  // The parents merged during one ApplyStyle.
  std::vector<String> FUsesList;
};

// The manager every themed control gets when none is assigned: empty, so it changes nothing.
// Made on first use, freed at the program's end (nullptr after).
TKsStyleManager* DefaultStyleManager();

}  // namespace kestrel
