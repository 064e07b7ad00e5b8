#pragma once
// TKsStyleManager: the component themed controls take property styles from. This is the
// manager's interface without a style sheet yet: it keeps its change links and applies nothing,
// which is exactly what the process-wide default manager does.

#include "framework/ChangeLink.h"
#include "framework/Component.h"

namespace kestrel {

class TKsStyleMgrChangeLink;

class TKsStyleManager : public TComponent {
  KESTREL_CLASS(TKsStyleManager)
  explicit TKsStyleManager(TComponent* owner);
  ~TKsStyleManager() override;

  void RegisterChanges(TKsStyleMgrChangeLink* link);
  void UnregisterChanges(TKsStyleMgrChangeLink* link);
  // Assigns the values stored for `styleName` to the component's properties (none are stored).
  virtual void ApplyStyle(TComponent* component, const String& styleName);
  // Tells every registered link that the sheet changed.
  void Change();
  TNotifyEvent OnChange;

 private:
  TChangeLinkList FLinksList{this};
};

// The manager every themed control gets when none is assigned; made on first use, freed at the
// program's end (nullptr after).
TKsStyleManager* DefaultStyleManager();

}  // namespace kestrel
