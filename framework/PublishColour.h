#pragma once
// Publishes a colour property with its default (colours stream as numbers of type TColor).

#include <cstdint>

#include "framework/Colors.h"
#include "framework/TypeInfo.h"

namespace kestrel {

template <class Builder, class Getter, class Setter>
void PublishColour(Builder& b, const char16_t* name, Getter getter, Setter setter, TColor def) {
  b.Property(name, getter, setter).TypeName(u"TColor").Default(static_cast<std::int64_t>(def));
}

}  // namespace kestrel
