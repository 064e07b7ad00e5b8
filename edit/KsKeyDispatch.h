#pragma once
// Turns a key-down that reached the edit control into the command to run: remaps keys for
// single-line and right-aligned edits, and holds the first key of a chord until its second key.

#include <cstdint>

#include "edit/KsKeyCommandList.h"

namespace kestrel {

class TKsKeyDispatch {
 public:
  struct TLayout {
    bool multiline = false;
    bool rightAlignedText = false;
  };

  // The command for this key, 0 when there is none (or the key starts a chord, which is then
  // pending). Only Shift, Ctrl and Alt of Shift take part in the lookup.
  TKsCommand KeyDown(const TKsKeyCommandList& commands, std::uint16_t key, TShiftState shift, TLayout layout);

  // The key as the lookup sees it after the single-line and right-aligned remapping.
  static std::uint16_t RemapKey(std::uint16_t key, TLayout layout);

  bool ChordPending() const { return FFirstKey != 0; }
  std::uint16_t FirstKey() const { return FFirstKey; }
  TShiftState FirstShift() const { return FFirstShift; }
  void CancelChord();

 private:
  std::uint16_t FFirstKey = 0;
  TShiftState FFirstShift;
};

}  // namespace kestrel
