#pragma once
// The input method stand-in: composition state per thread, the Imm… calls programs use, and
// the messages a composition produces (WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION,
// WM_IME_ENDCOMPOSITION). DefWindowProc turns a result nobody consumed into characters.

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

struct COMPOSITIONFORM {
  DWORD dwStyle = CFS_DEFAULT;
  POINT ptCurrentPos{};
  RECT rcArea{};
};

HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC context);
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
// (DLGC_WANTCHARS), so that it never composes into a button or a list.
void FollowFocusWithTextInput(HWND focus);
}  // namespace detail

}  // namespace kestrel::platform
