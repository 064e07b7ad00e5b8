#pragma once
// The edit control's key bindings in list order: single keys and two-key chords mapped to command
// codes, with the default table the control starts with.

#include <memory>
#include <vector>

#include "edit/KsKeyCommand.h"

namespace kestrel {

// What Find answers for the first key of a chord: wait for the second key.
constexpr TKsCommand kKsChordFirstKey = 0x7FFFFFFE;

class TKsKeyCommandList {
 public:
  void Add(std::uint16_t key, TShiftState shiftState, String description, TKsCommand command);
  void Add(std::uint16_t key, TShiftState shiftState, std::uint16_t key2, TShiftState shiftState2, String description,
           TKsCommand command);
  // Removes the first binding with that command code.
  void Delete(TKsCommand command);

  // The command of the first single-key binding for this key; kKsChordFirstKey when only a
  // chord starts with it; 0 when nothing matches.
  TKsCommand Find(std::uint16_t key, TShiftState shiftState) const;
  // The command of the chord (FirstKey, FirstShift) then (Key, ShiftState); 0 when none.
  TKsCommand Find(std::uint16_t key, TShiftState shiftState, TShiftState firstShift, std::uint16_t firstKey) const;

  void DefaultKeyBind();
  // Rebinds the stress-mark command to the key and shift state of ShortCut (0x2000 Shift,
  // 0x4000 Ctrl, 0x8000 Alt over the key code).
  void SetStressShortCut(std::uint16_t shortCut);

  int Count() const { return static_cast<int>(FCommandList.size()); }
  const TKsKeyCommand& Item(int index) const { return *FCommandList.at(static_cast<size_t>(index)); }

 private:
  void AddBookmarkChords(std::uint16_t firstKey, TKsCommand firstCommand, const char16_t* description);

  std::vector<std::unique_ptr<TKsKeyCommand>> FCommandList;
};

}  // namespace kestrel
