#pragma once
// What a control tells assistive technologies about itself (TControl::GetAccessibleInfo): its
// role, name, description, states, its text with the links in it, and the one action it offers;
// and the observer a screen-reader bridge installs to hear of changes as they happen. With no
// observer installed a change costs one branch.

#include <vector>

#include "framework/Strings.h"

namespace kestrel {

class TControl;

enum class TAccessibleRole {
  Unknown,
  Frame,
  Dialog,
  Alert,
  PushButton,
  CheckBox,
  RadioButton,
  Label,
  Panel,
  Text,
  ProgressBar,
};

// A link inside the text: characters [Start, End) lead to Target.
struct TAccessibleLink {
  String Target;
  int Start = 0;
  int End = 0;
};

struct TAccessibleInfo {
  TAccessibleRole Role = TAccessibleRole::Unknown;
  String Name;
  String Description;
  // The text interface's content; only with HasText.
  bool HasText = false;
  String Text;
  std::vector<TAccessibleLink> Links;
  int Caret = -1;
  bool Editable = false;
  bool Focusable = false;
  bool Checkable = false;
  bool Checked = false;
  bool Pressed = false;
  bool Default = false;
  bool Busy = false;
  bool Modal = false;
  // The control this one is the label of (its name then comes from here).
  TControl* LabelFor = nullptr;
  // The action DoAccessibleAction carries out ("click"); empty when there is none.
  String Action;
};

enum class TAccessibleChange {
  Text,       // the caption or text (and so, mostly, the name)
  State,      // checked, enabled, pressed, busy, default
  Showing,    // shown or hidden
  Children,   // a child came or went
  Destroyed,  // the control is going away
};

class TAccessibleObserver {
 public:
  virtual ~TAccessibleObserver() = default;
  virtual void ControlChanged(TControl* control, TAccessibleChange change) = 0;
};

// The installed observer (null = none); called on the GUI thread.
void SetAccessibleObserver(TAccessibleObserver* observer);

namespace detail {
extern TAccessibleObserver* accessibleObserver;
}

inline void NotifyAccessible(TControl* control, TAccessibleChange change) {
  if (detail::accessibleObserver) detail::accessibleObserver->ControlChanged(control, change);
}

// A caption as read out: "&&" stands for '&', a single '&' (the accelerator mark) is dropped.
String WithoutAccelerator(const String& caption);

}  // namespace kestrel
