#pragma once
// One style value assigned to a component: the value's name is a property path (sub-objects
// that are not components are entered, "|TypeName" limits it to properties of that type) and
// its stored type decides which property kinds take it. Values that fit no property, lie
// outside the property's range or do not decode are skipped; only a colour text that is
// neither a colour name nor a number raises (EConvertError).

#include "framework/Object.h"

namespace kestrel {

class TComponent;
struct TKsValueData;

// True when the value was assigned.
bool AssignStyleValue(TComponent* component, const String& name, const TKsValueData& value);

}  // namespace kestrel
