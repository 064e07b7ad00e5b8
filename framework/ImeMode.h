#pragma once
// What a windowed control asks of the input method while its window has the focus, and how
// that is put into effect. The thread's input context is shared by its windows, so a control
// that leaves the input method alone (imDontCare) finds it as the last control left it.

#include <cstdint>

#include "framework/PropInfo.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

enum TImeMode : std::uint8_t {
  imDisable,
  imClose,
  imOpen,
  imDontCare,
  imSAlpha,
  imAlpha,
  imHira,
  imSKata,
  imKata,
  imChinese,
  imSHanguel,
  imHanguel
};

const TEnumInfo& ImeModeInfo();

// Puts `mode` into effect for `window`: imDisable takes its input context away (its characters
// then come from the keyboard layout), imClose closes the input method, imOpen opens it, the
// conversion modes open it and set their conversion, imDontCare changes nothing. Every mode
// but imDisable and imDontCare gives a window without a context the thread's one back.
void ApplyImeMode(platform::HWND window, TImeMode mode);
// Undoes imDisable for a window that no longer asks for it.
void RestoreImeContext(platform::HWND window);
// Activates the keyboard layout of that name ("00000409", "00000407"); an empty or unknown
// name changes nothing.
void ApplyImeName(const String& name);

}  // namespace kestrel
