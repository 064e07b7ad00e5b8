#pragma once
// Published properties addressed by a dotted path ("Font.Color"): every segment but the last
// names an object property whose object the walk enters; the last names the property to use
// there. The form reader, the style manager and the markup's <control> tag share this walk.

#include <string_view>

#include "framework/PropInfo.h"

namespace kestrel {

class TObject;

enum class TPathObjects {
  Any,            // the walk enters any object a property holds
  NotComponents,  // ... but not a component (a link to another component is no sub-object)
};

// Where a path leads: the object holding the last segment and that segment's text. Instance is
// nullptr when a segment before it is unknown, is no readable object property, holds no object
// or holds an object the walk may not enter.
struct TPropertyPathEnd {
  TObject* Instance = nullptr;
  std::u16string_view Name;
};

TPropertyPathEnd WalkPropertyPath(TObject* root, std::u16string_view path, TPathObjects objects = TPathObjects::Any);

// The property the path names, or nullptr.
const TPropInfo* FindPropertyByPath(TObject* root, std::u16string_view path, TObject*& instance,
                                    TPathObjects objects = TPathObjects::Any);

// Sets the property the path names from text, as SetPropText converts it (conversion errors are
// raised). False when the path names no writable non-object property.
bool SetPropertyByPath(TObject* root, std::u16string_view path, std::u16string_view text,
                       TPathObjects objects = TPathObjects::Any);

}  // namespace kestrel
