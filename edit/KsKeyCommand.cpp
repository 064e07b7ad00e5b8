#include "edit/KsKeyCommand.h"

#include <utility>

namespace kestrel {

TKsKeyCommand::TKsKeyCommand(std::uint16_t key, TShiftState shiftState, std::uint16_t key2, TShiftState shiftState2,
                             TKsCommand command, String description)
    : FKey(key),
      FShiftState(shiftState),
      FKey2(key2),
      FShiftState2(shiftState2),
      FCommand(command),
      FDescription(std::move(description)) {}

std::uint16_t TKsKeyCommand::ShortCut() const {
  if (FKey > 0xFF) return 0;
  std::uint16_t result = FKey;
  if (FShiftState.Contains(ssShift)) result |= 0x2000;
  if (FShiftState.Contains(ssCtrl)) result |= 0x4000;
  if (FShiftState.Contains(ssAlt)) result |= 0x8000;
  return result;
}

}  // namespace kestrel
