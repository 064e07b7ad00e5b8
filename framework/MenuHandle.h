#pragma once
// Menus by handle, as window procedures build and show them: a menu is a list of entries
// (strings with a command id, separators, and popup entries that hold a menu of their own).
// Items are found by command id (MF_BYCOMMAND, which also looks inside popup entries) or by
// position (MF_BYPOSITION). TrackPopupMenu shows a menu through the framework's popup menu
// (PopupMenu.h) and either returns the chosen command (TPM_RETURNCMD) or posts it to the owner
// as WM_COMMAND. Used on the GUI thread only.
//
// The platform's own resources include the standard edit menu: LoadMenuW with the module of
// GetModuleHandleW(u"user32") and menu 1 gives a menu whose one popup entry holds Undo (772),
// a line, Cut (768), Copy (769), Paste (770), Delete (771), a line, Select All (177), a line,
// Right-to-left reading order (0x8000), Show control characters (0x8001) and Open input method
// (0x8013).

#include "platform/window/WindowDefs.h"

namespace kestrel {

using platform::BOOL;
using platform::HINSTANCE;
using platform::HMENU;
using platform::HWND;
using platform::LPCWSTR;
using platform::LPWSTR;
using platform::UINT;
using platform::UINT_PTR;

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Frees the menu and the menus of its popup entries.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// `item` is a command id, or with MF_POPUP the entry's menu (which the entry then owns).
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
// Changes the entry `item` names (by `flags`) into what `flags`, `newItem` and `text` describe.
BOOL ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR newItem, LPCWSTR text);
// Takes the entry away; DeleteMenu also frees its popup menu, RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
// Sets MF_ENABLED, MF_GRAYED or MF_DISABLED; returns the entry's former state, or -1 (as UINT)
// when there is no such entry.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
// The entry's flags (MF_GRAYED, MF_DISABLED, MF_SEPARATOR, MF_POPUP), or -1 (as UINT).
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuItemCount(HMENU menu);
// The command id at `position`: 0 for a line, -1 (as UINT) for a popup entry or no entry.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The entry's text, copied like GetWindowTextW; returns its length.
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxCount, UINT flags);

// A menu from a module's resources; null with ERROR_RESOURCE_NAME_NOT_FOUND when it has none.
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);

// Shows `menu` with its corner at screen point (x, y) and waits until it closes. Greyed and
// disabled entries cannot be chosen. With TPM_RETURNCMD returns the chosen command (0 when
// none); otherwise posts WM_COMMAND (the command, 0) to `owner` and returns whether one was
// chosen. Popup entries are not shown.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const platform::RECT* ignored);

}  // namespace kestrel
