#pragma once
// ShellExecute "open": hands a file or URL to the desktop's opener (xdg-open) in a process of its
// own, detached from ours, with an argument vector and no shell in between. The opener program
// can be replaced through the environment variable KESTREL_OPEN_COMMAND (a path or a name looked
// up in PATH).

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// Results of ShellExecute up to 32 are errors.
constexpr UINT_PTR SE_ERR_FNF = 2;
constexpr UINT_PTR SE_ERR_PNF = 3;
constexpr UINT_PTR SE_ERR_ACCESSDENIED = 5;
constexpr UINT_PTR SE_ERR_OOM = 8;
constexpr UINT_PTR SE_ERR_NOASSOC = 31;

// "open" (or a null verb) runs the opener with the file as its single argument: a value above 32
// when the opener was started, SE_ERR_FNF for a local file that does not exist, SE_ERR_NOASSOC
// for other verbs or when there is no opener to start. Parameters are not passed on (the opener
// takes none); a directory, when given, becomes the opener's working directory. The show command
// (SW_… of the window piece) is left to the opened program.
HINSTANCE ShellExecuteW(HWND owner, const WCHAR* operation, const WCHAR* file, const WCHAR* parameters,
                        const WCHAR* directory, int showCommand);
// The same with text in the "ANSI" code page (UTF-8).
HINSTANCE ShellExecuteA(HWND owner, const char* operation, const char* file, const char* parameters,
                        const char* directory, int showCommand);

}  // namespace kestrel::platform
