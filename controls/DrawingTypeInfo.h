#pragma once
// The names of the drawing types' values, for published properties (streaming and styles).

#include "framework/PropInfo.h"

namespace kestrel {

const TEnumInfo& FlatBorderTypeInfo();
const TEnumInfo& BevelStyleInfo();
const TEnumInfo& BackgroundTypeInfo();
const TEnumInfo& BorderSideInfo();

}  // namespace kestrel
