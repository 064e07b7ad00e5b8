#pragma once
// The value types of the settings store, the registry roots it can work on and its exception.

#include <cstdint>
#include <vector>

#include "framework/Exceptions.h"

namespace kestrel {

enum TKsValueType : std::uint8_t {
  evtUnknown = 0,
  evtBoolean = 1,
  evtInt = 2,
  evtString = 3,
  evtMultiString = 4,
  evtBinary = 5,
  evtDouble = 6,
};

enum TRegRootType : std::uint32_t {
  rrtUnknown = 0,
  rrtHKEY_CLASSES_ROOT = 0x80000000u,
  rrtHKEY_CURRENT_USER = 0x80000001u,
  rrtHKEY_LOCAL_MACHINE = 0x80000002u,
  rrtHKEY_USERS = 0x80000003u,
  rrtHKEY_CURRENT_CONFIG = 0x80000005u,
};

// One typed value. Only the member of the current type is meaningful; the text, list and
// buffer are owned by the value.
struct TKsValueData {
  TKsValueType ValueType = evtUnknown;
  bool BoolValue = false;
  std::int32_t IntValue = 0;
  double DoubleValue = 0;
  String StrValue;
  std::vector<String> MStrValue;
  std::vector<std::uint8_t> DataValue;

  // Frees the text, list or buffer and forgets the type.
  void Invalidate();
};

KESTREL_EXCEPTION(EKsIniError, Exception)

}  // namespace kestrel
