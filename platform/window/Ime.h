#pragma once
// The input method stand-in: composition state per thread, the Imm… calls programs use, and
// the messages a composition produces (WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION,
// WM_IME_ENDCOMPOSITION). DefWindowProc turns a result nobody consumed into characters.
// Every window starts out with the thread's input context, open. The native input method
// composes only for a focus window that takes characters and whose context is there and open;
// any other window gets its characters from the keyboard layout, and no composition reaches it.

#include "platform/core/Unicode.h"
#include "platform/text/Font.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

constexpr UINT WM_IME_CHAR = 0x0286;
constexpr LPARAM GCS_COMPSTR = 0x0008;
constexpr LPARAM GCS_COMPATTR = 0x0010;
constexpr LPARAM GCS_CURSORPOS = 0x0080;
constexpr LPARAM GCS_RESULTSTR = 0x0800;
// Attributes of the composition's characters (GCS_COMPATTR, one byte per UTF-16 unit).
constexpr BYTE ATTR_INPUT = 0x00;
constexpr BYTE ATTR_TARGET_CONVERTED = 0x01;
constexpr DWORD CFS_DEFAULT = 0x0000;
constexpr DWORD CFS_RECT = 0x0001;
constexpr DWORD CFS_POINT = 0x0002;
constexpr DWORD CFS_FORCE_POSITION = 0x0020;

// ImmAssociateContextEx flags.
constexpr DWORD IACE_DEFAULT = 0x0010;
// Conversion modes; the native input method is not told of them.
constexpr DWORD IME_CMODE_ALPHANUMERIC = 0x0000;
constexpr DWORD IME_CMODE_NATIVE = 0x0001;
constexpr DWORD IME_CMODE_KATAKANA = 0x0002;
constexpr DWORD IME_CMODE_FULLSHAPE = 0x0008;
constexpr DWORD IME_SMODE_NONE = 0x0000;

struct COMPOSITIONFORM {
  DWORD dwStyle = CFS_DEFAULT;
  POINT ptCurrentPos{};
  RECT rcArea{};
};

// The window's context; null for a window associated with none.
HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC context);
// Gives the window `context` (null: no input method for it) and answers the one it had. A
// change for the focus window takes effect at once; losing the context cancels its composition.
HIMC ImmAssociateContext(HWND hwnd, HIMC context);
// With IACE_DEFAULT the window gets the thread's context back; other flags are not supported.
BOOL ImmAssociateContextEx(HWND hwnd, HIMC context, DWORD flags);
// Closing the input method cancels a composition in progress; the focus window's characters
// then come from the keyboard layout until it is opened again.
BOOL ImmSetOpenStatus(HIMC context, BOOL open);
BOOL ImmGetOpenStatus(HIMC context);
BOOL ImmSetConversionStatus(HIMC context, DWORD conversion, DWORD sentence);
BOOL ImmGetConversionStatus(HIMC context, DWORD* conversion, DWORD* sentence);
// Byte count of the string (GCS_COMPSTR or GCS_RESULTSTR) or of the composition's attributes
// (GCS_COMPATTR); with no buffer, the size needed. GCS_CURSORPOS answers the cursor's place in
// the composition (UTF-16 units). Negative (IMM_ERROR_GENERAL) for other indexes or a bad
// context.
LONG ImmGetCompositionStringW(HIMC context, DWORD index, void* buffer, DWORD bufferBytes);
// Also tells the backend's input method where to show its candidates: at the point, as tall as
// the focus window's caret (one pixel without one).
BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form);
BOOL ImmGetCompositionWindow(HIMC context, COMPOSITIONFORM* form);
BOOL ImmSetCompositionFontW(HIMC context, const LOGFONTW* font);
BOOL ImmGetCompositionFontW(HIMC context, LOGFONTW* font);

// Native composition events (backends and tests): the text being composed (empty ends the
// composition without a result) with the cursor's place in it (-1: at the end) and the clause
// being converted (`targetLength` units from `targetStart`), and the committed result.
void InjectComposition(const String& composing, int cursor = -1, int targetStart = 0, int targetLength = 0);
void InjectCompositionResult(const String& result);
// The keyboard layout changed: WM_INPUTLANGCHANGE (character set, layout) to the active window,
// whose default handling passes it on to its children.
void InjectInputLanguageChange();

namespace detail {
// The native input method (and its text) is on only while the focus window takes characters
// (DLGC_WANTCHARS), so that it never composes into a button or a list, and has an open
// context. Turning it off drops a composition the new focus window never saw.
void FollowFocusWithTextInput(HWND focus);
// A destroyed window's association is forgotten.
void ForgetInputContext(HWND hwnd);
}  // namespace detail

}  // namespace kestrel::platform
