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
constexpr LPARAM GCS_CURSORPOS = 0x0080;
constexpr LPARAM GCS_RESULTSTR = 0x0800;
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
// Byte count of the string (GCS_COMPSTR or GCS_RESULTSTR); with no buffer, the size needed;
// negative (IMM_ERROR_GENERAL) for other indexes or a bad context.
LONG ImmGetCompositionStringW(HIMC context, DWORD index, void* buffer, DWORD bufferBytes);
BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form);
BOOL ImmGetCompositionWindow(HIMC context, COMPOSITIONFORM* form);
BOOL ImmSetCompositionFontW(HIMC context, const LOGFONTW* font);
BOOL ImmGetCompositionFontW(HIMC context, LOGFONTW* font);

// Native composition events (backends and tests): the text being composed (empty ends the
// composition without a result), and the committed result.
void InjectComposition(const String& composing);
void InjectCompositionResult(const String& result);

}  // namespace kestrel::platform
