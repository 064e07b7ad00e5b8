#include "edit/KsKeyDispatch.h"

#include "platform/window/WindowDefs.h"

namespace kestrel {

namespace {

using namespace platform;

std::uint16_t SingleLineKey(std::uint16_t key) {
  switch (key) {
    case VK_PRIOR: return VK_HOME;
    case VK_NEXT: return VK_END;
    case VK_UP: return VK_LEFT;
    case VK_DOWN: return VK_RIGHT;
    default: return key;
  }
}

std::uint16_t RightAlignedKey(std::uint16_t key) {
  switch (key) {
    case VK_END: return VK_HOME;
    case VK_HOME: return VK_END;
    case VK_LEFT: return VK_RIGHT;
    case VK_RIGHT: return VK_LEFT;
    default: return key;
  }
}

// Shift, Ctrl and Alt pressed on their own (they repeat while held).
bool IsModifierKey(std::uint16_t key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU: return true;
    default: return false;
  }
}

TShiftState KeyboardShift(TShiftState shift) { return shift * TShiftState{ssShift, ssAlt, ssCtrl}; }

}  // namespace

std::uint16_t TKsKeyDispatch::RemapKey(std::uint16_t key, TLayout layout) {
  if (!layout.multiline) key = SingleLineKey(key);
  if (layout.rightAlignedText) key = RightAlignedKey(key);
  return key;
}

TKsCommand TKsKeyDispatch::KeyDown(const TKsKeyCommandList& commands, std::uint16_t key, TShiftState shift,
                                   TLayout layout) {
  key = RemapKey(key, layout);
  shift = KeyboardShift(shift);
  if (ChordPending()) {
    // A modifier pressed between the two keys of a chord neither completes nor cancels it.
    if (IsModifierKey(key)) return 0;
    TKsCommand command = commands.Find(key, shift, FFirstShift, FFirstKey);
    CancelChord();
    return command;
  }
  TKsCommand command = commands.Find(key, shift);
  if (command != kKsChordFirstKey) return command;
  FFirstKey = key;
  FFirstShift = shift;
  return 0;
}

void TKsKeyDispatch::CancelChord() {
  FFirstKey = 0;
  FFirstShift = TShiftState{};
}

}  // namespace kestrel
