#pragma once
// TMenuItem: one entry of a menu: a caption ("-" makes a separator line), enabled and visible
// states and an OnClick event. An item can hold items of its own; it owns the items added to it.

#include <memory>
#include <vector>

#include "framework/Component.h"

namespace kestrel {

class TMenuItem : public TComponent {
  KESTREL_CLASS(TMenuItem)
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  // A separator line, not a choice.
  bool IsLine() const { return FCaption == u"-"; }
  // Whether the item can be chosen: visible, enabled and not a line.
  bool Selectable() const { return FVisible && FEnabled && !IsLine(); }

  // Takes ownership of `Item` (which must have no owner component).
  void Add(TMenuItem* Item);
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)).get(); }
  TMenuItem* Parent() const { return FParent; }

  // Raises OnClick when the item is enabled.
  virtual void Click();
  TNotifyEvent OnClick;

 private:
  String FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  TMenuItem* FParent = nullptr;
  std::vector<std::unique_ptr<TMenuItem>> FItems;
};

}  // namespace kestrel
