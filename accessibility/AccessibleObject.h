#pragma once
// The ATK objects a screen reader talks to through the bridge: one per node, of a type that
// implements what the node's description calls for (the component interface always; the action
// for controls with an action; text and hypertext for labels and edits; the window interface for
// frames, dialogs and alerts), plus the application object at the root. Every answer is asked
// of the node afresh; an object whose node went away answers as defunct.

#include <cstdint>

#include "accessibility/AccessibleNode.h"

// Last: GLib and D-Bus define TRUE and FALSE as macros, which the platform's constants must precede.
#include <atk/atk.h>

namespace kestrel {

// The states of a node as a set of AtkStateType bits.
using AccessibleStates = std::uint64_t;
AccessibleStates StatesOf(const AccessibleNode& node);

AtkRole AtkRoleOf(TAccessibleRole role);

// A new object for `node` (one reference, the caller's).
AtkObject* NewAccessibleObject(const AccessibleNode& node);
// The application object (one reference, the caller's).
AtkObject* NewApplicationObject();

// The node of an object (null for the application object and once the node is gone).
const AccessibleNode* NodeOf(AtkObject* object);
// The object's node went away: it answers as defunct from now on.
void MarkDefunct(AtkObject* object);

// What was last told about the object, so that only changes are told again.
AccessibleStates& ToldStates(AtkObject* object);
String& ToldText(AtkObject* object);
// The text changed: links are made afresh when next asked for.
void ForgetLinks(AtkObject* object);

}  // namespace kestrel
