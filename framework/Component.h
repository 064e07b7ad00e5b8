#pragma once
// TComponent: the owned, named, notifiable object. An owner frees the components it owns when it
// is freed (the last inserted first); components that hold links to each other ask for free
// notification and hear Notification(other, opRemove) before the other one goes, so no link is
// left dangling.
//
// C++ note: a component's own destructor body runs before TComponent's, so by the time owned
// components are freed the owner is only a TComponent and its Notification overrides no longer
// run. A class whose Notification must see its owned components go calls DestroyComponents() at
// the start of its own destructor.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "framework/EnumSet.h"
#include "framework/Persistent.h"

namespace kestrel {

class TReader;
class TWriter;

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TEnumSet<TComponentStateItem>;

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TEnumSet<TComponentStyleItem>;

using TGetChildProc = std::function<void(TComponent* child)>;

class TComponent : public TPersistent {
  KESTREL_CLASS(TComponent)
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  TPersistent* GetOwner() const override { return owner_; }
  String GetNamePath() const override;

  // Names are empty or identifiers (letters, digits, '_', not starting with a digit) unique
  // among the owner's components, compared without case. A bad name raises EComponentError
  // "'%s' is not a valid component name"; a taken one "A component named %s already exists".
  const String& Name() const { return name_; }
  virtual void SetName(const String& value);
  std::intptr_t Tag() const { return tag_; }
  void SetTag(std::intptr_t value) { tag_ = value; }

  // The components this one owns, in insertion order.
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // nullptr when the index is out of range.
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  void SetComponentIndex(int value);
  // The owned component with this name (case-insensitive), or nullptr.
  TComponent* FindComponent(std::u16string_view name) const;

  // Takes `component` over from its current owner (the name must be free here).
  void InsertComponent(TComponent* component);
  // Gives `component` up without freeing it; it then has no owner.
  void RemoveComponent(TComponent* component);
  // Frees every owned component, the last one first.
  void DestroyComponents();
  // Marks this component and the ones it owns as being destroyed.
  void Destroying();

  // Asks that `component` hear Notification(this, opRemove) when this component goes, and this
  // one hear it when `component` goes. Links are removed by either side's destruction.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  TComponentState ComponentState() const { return state_; }
  TComponentStyle ComponentStyle() const { return style_; }
  // Sub-components are streamed as part of their owner's properties.
  void SetSubComponent(bool value);
  // Design mode for this component and, optionally, everything it owns.
  void SetDesigning(bool value, bool setChildren = true);

  // The loading bracket for designs built in code: BeginLoading marks this component and all it
  // owns (also those created inside the bracket) csLoading; EndLoading calls Loaded on each of
  // them, this one first, which clears the flag.
  void BeginLoading();
  void EndLoading();

  // Streaming: whether a parent (not the owner) writes this component, and which components a
  // writer visits as children of this one. The default writes the owned components that have no
  // parent when this is the root.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root) const;
  // The reader hands a nested component the one whose block encloses it (controls take it as
  // their parent); the default ignores it.
  virtual void SetParentComponent(TComponent* parent);

 protected:
  // Hears insertions and removals of owned components and free notifications. Overrides call
  // the inherited version, which passes the news on to every owned component.
  virtual void Notification(TComponent* component, TOperation operation);
  // Called once loading has finished; clears csLoading.
  virtual void Loaded();
  virtual void ValidateRename(TComponent* component, std::u16string_view curName, std::u16string_view newName);
  virtual void ValidateInsert(TComponent* component);
  // csUpdating while a batch of changes is applied by the framework.
  void Updating() { state_.Include(csUpdating); }
  void Updated() { state_.Exclude(csUpdating); }
  void SetState(TComponentStateItem item, bool on);

 private:
  friend class TReader;
  friend class TWriter;

  void InsertOwned(TComponent* component);
  void RemoveOwned(TComponent* component);
  void CollectTree(std::vector<TComponent*>& out);
  void RemoveFreeNotifications();

  TComponent* owner_ = nullptr;
  String name_;
  std::intptr_t tag_ = 0;
  TComponentState state_;
  TComponentStyle style_ = {csInheritable};
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};

// Whether `name` is an identifier: a letter or '_' followed by letters, digits or '_'.
bool IsValidIdent(std::u16string_view name);

}  // namespace kestrel
