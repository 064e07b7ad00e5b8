#include "settings/KsIniTypes.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(EKsIniError, Exception)

void TKsValueData::Invalidate() {
  ValueType = evtUnknown;
  BoolValue = false;
  IntValue = 0;
  DoubleValue = 0;
  String().swap(StrValue);
  std::vector<String>().swap(MStrValue);
  std::vector<std::uint8_t>().swap(DataValue);
}

}  // namespace kestrel
