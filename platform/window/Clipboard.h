#pragma once
// The clipboard: formats held in-process as global memory blocks, registered formats by name,
// and Unicode text bridged to the backend's (the system's) clipboard. Text inside ends its lines
// with CR LF, the system's with LF: line breaks are converted where text crosses over.

#include "platform/core/Unicode.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_LOCALE = 16;

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// Takes ownership of `data` (a GlobalAlloc block). Text formats also reach the system clipboard.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The block stays owned by the clipboard. CF_TEXT (UTF-8) and CF_UNICODETEXT convert into
// each other when only one of them is there.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
UINT RegisterClipboardFormatW(LPCWSTR name);
int GetClipboardFormatNameW(UINT format, LPWSTR buffer, int maxCount);
int CountClipboardFormats();
UINT EnumClipboardFormats(UINT format);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

// The clipboard's text (CF_UNICODETEXT); empty when the clipboard cannot be opened or holds none.
String GetClipboardUnicodeText();
// Replaces the clipboard's contents with `text`, as CF_UNICODETEXT and CF_TEXT. False when the
// clipboard cannot be opened (another thread holds it) or refuses the text.
bool SetClipboardUnicodeText(const String& text);

// The PRIMARY selection, as Linux programs use it beside the clipboard: a control offers the
// text it has selected, and a middle click pastes what is offered (by any program). Line breaks
// convert as for the clipboard. Set is false when the display has no such selection; Get is empty
// when nothing is offered.
bool SetPrimarySelectionText(const String& text);
String GetPrimarySelectionText();

}  // namespace kestrel::platform
