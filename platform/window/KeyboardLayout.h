#pragma once
// Keyboard layouts: which character a virtual key makes under a key state, and the dead keys
// that wait for the next key to put an accent on it. Two layouts are built in: US (the
// default, no dead keys) and German, where ^ and ´/` are dead keys.

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

struct HKL__;
using HKL = HKL__*;

constexpr UINT KLF_ACTIVATE = 0x00000001;
constexpr UINT KLF_SETFORPROCESS = 0x00000100;
constexpr UINT WM_SYSDEADCHAR = 0x0107;
constexpr int VK_OEM_102 = 0xE2;

// ToUnicode flag: translate without touching the dead-key state.
constexpr UINT kToUnicodeNoStateChange = 0x4;

// The layout behind a "0000xxxx" layout name ("00000409" US, "00000407" German); with
// KLF_ACTIVATE it also becomes the active layout. Unknown names fail with
// ERROR_INVALID_PARAMETER.
HKL LoadKeyboardLayoutW(LPCWSTR layoutName, UINT flags);
// Makes `layout` active and returns the previous one (null and ERROR_INVALID_PARAMETER for an
// unknown handle). Switching layouts drops a pending dead key.
HKL ActivateKeyboardLayout(HKL layout, UINT flags);
HKL GetKeyboardLayout(DWORD threadId);

class KeyboardLayout {
 public:
  // What one key makes: a character (0 for none) and whether it is a dead key.
  struct Key {
    char16_t ch = 0;
    bool dead = false;
  };

  // The key's character on the active layout (no dead-key processing).
  static Key Translate(UINT virtualKey, const BYTE* keyState);
  // Runs `key` through the dead-key state: -1 and the accent for a dead key, 1 for a single
  // (possibly accented) character, 2 for an accent that could not combine followed by the
  // character. `update` false leaves the state as it was.
  static int Compose(Key key, LPWSTR buffer, int bufferSize, bool update);
  // The accented form of `base` under dead key `accent`, or 0.
  static char16_t Combine(char16_t accent, char16_t base);
  // The virtual key of the physical key that carries `usVirtualKey` on a US keyboard, on the
  // active layout (the German layout puts ü where US has [, swaps Y and Z, …).
  static UINT VirtualKeyAtUsPosition(UINT usVirtualKey);
};

}  // namespace kestrel::platform
