#pragma once
// Messages inside the framework: the TMessage record that travels the WindowProc chain and the
// control notifications (CM_…) controls send each other through Perform.

#include <functional>

#include "framework/EnumSet.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

struct TMessage {
  platform::UINT Msg = 0;
  platform::WPARAM WParam = 0;
  platform::LPARAM LParam = 0;
  platform::LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage& message)>;

constexpr platform::UINT CM_BASE = 0xB000;
constexpr platform::UINT CM_ACTIVATE = CM_BASE + 0;
constexpr platform::UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr platform::UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr platform::UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr platform::UINT CM_CANCELMODE = CM_BASE + 4;
// WParam = virtual key, LParam = key data; Result 1 when the key was used.
constexpr platform::UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr platform::UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr platform::UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr platform::UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr platform::UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
// LParam = point (client coordinates of the control); Result non-zero when the control is hit.
constexpr platform::UINT CM_HITTEST = CM_BASE + 10;
constexpr platform::UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr platform::UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr platform::UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr platform::UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr platform::UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr platform::UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr platform::UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr platform::UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr platform::UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr platform::UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr platform::UINT CM_ENTER = CM_BASE + 26;
constexpr platform::UINT CM_EXIT = CM_BASE + 27;
constexpr platform::UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr platform::UINT CM_RELEASE = CM_BASE + 33;
constexpr platform::UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr platform::UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr platform::UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr platform::UINT CM_RECREATEWND = CM_BASE + 51;
constexpr platform::UINT CM_INVALIDATE = CM_BASE + 52;
// WParam = the control added or removed, LParam = 1 when added.
constexpr platform::UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr platform::UINT CM_THEMECHANGED = CM_BASE + 60;
// Posted to a windowed control by the screen-reader bridge: carry out the accessible action.
constexpr platform::UINT CM_ACCESSIBLEACTION = CM_BASE + 70;

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TEnumSet<TShiftStateItem>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The shift state of mouse-message key flags (MK_…) plus the current Alt key.
TShiftState MouseShiftState(platform::WPARAM keys);
// The shift state of the keyboard now (GetKeyState).
TShiftState KeyboardShiftState();

}  // namespace kestrel
