#pragma once
// One key binding of the edit control: a key (or a two-key chord) with its shift states, the
// command it runs and a text that describes it.

#include <cstdint>

#include "edit/KsEditCommands.h"
#include "framework/ControlMessages.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class TKsKeyCommand {
 public:
  TKsKeyCommand(std::uint16_t key, TShiftState shiftState, std::uint16_t key2, TShiftState shiftState2,
                TKsCommand command, String description);

  std::uint16_t Key() const { return FKey; }
  TShiftState ShiftState() const { return FShiftState; }
  // The chord's second key and its shift state; both empty for a single-key binding.
  std::uint16_t Key2() const { return FKey2; }
  TShiftState ShiftState2() const { return FShiftState2; }
  TKsCommand Command() const { return FCommand; }
  const String& Description() const { return FDescription; }
  bool IsChord() const { return FKey2 != 0; }

  // The key code with 0x2000 for Shift, 0x4000 for Ctrl and 0x8000 for Alt added; 0 when the key
  // code does not fit in 8 bits.
  std::uint16_t ShortCut() const;

 private:
  std::uint16_t FKey;
  TShiftState FShiftState;
  std::uint16_t FKey2;
  TShiftState FShiftState2;
  TKsCommand FCommand;
  String FDescription;
};

}  // namespace kestrel
