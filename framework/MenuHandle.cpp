#include "framework/MenuHandle.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "framework/PopupMenu.h"
#include "platform/core/ProcessWide.h"
#include "platform/os/Paths.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

constexpr UINT kNoEntry = static_cast<UINT>(-1);
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED;

struct MenuEntry {
  UINT flags = 0;
  UINT id = 0;
  HMENU sub = nullptr;  // with MF_POPUP
  String text;
};

struct MenuData {
  std::vector<MenuEntry> entries;
};

// Menus by handle. Handles count up and are never used twice, so a stale one names nothing.
struct MenuTable {
  std::map<UINT_PTR, std::unique_ptr<MenuData>> menus;
  UINT_PTR next = 0x10000;
};

constinit pf::ProcessWide<MenuTable> gMenus;

MenuData* DataOf(HMENU menu) {
  auto& menus = gMenus->menus;
  auto it = menus.find(reinterpret_cast<UINT_PTR>(menu));
  if (it != menus.end()) return it->second.get();
  pf::SetLastError(pf::ERROR_INVALID_MENU_HANDLE);
  return nullptr;
}

HMENU NewMenu() {
  MenuTable& table = *gMenus;
  const UINT_PTR handle = table.next++;
  table.menus.emplace(handle, std::make_unique<MenuData>());
  return reinterpret_cast<HMENU>(handle);
}

// The entry `item` names: by position in `menu`, or by command id in `menu` or any menu below.
MenuEntry* FindEntry(MenuData* data, UINT item, UINT flags, MenuData** holder = nullptr) {
  if (!data) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (item >= data->entries.size()) return nullptr;
    if (holder) *holder = data;
    return &data->entries[item];
  }
  for (MenuEntry& entry : data->entries) {
    if (entry.flags & MF_POPUP) {
      if (MenuEntry* inner = FindEntry(DataOf(entry.sub), item, flags, holder)) return inner;
    } else if (!(entry.flags & MF_SEPARATOR) && entry.id == item) {
      if (holder) *holder = data;
      return &entry;
    }
  }
  return nullptr;
}

MenuEntry EntryFrom(UINT flags, UINT_PTR item, LPCWSTR text) {
  MenuEntry entry;
  entry.flags = flags & (kStateFlags | MF_POPUP | MF_SEPARATOR);
  if (flags & MF_POPUP) entry.sub = reinterpret_cast<HMENU>(item);
  else entry.id = static_cast<UINT>(item);
  if (text && !(flags & MF_SEPARATOR)) entry.text = text;
  return entry;
}

BOOL TakeEntry(HMENU menu, UINT item, UINT flags, bool freeSubMenu) {
  MenuData* holder = nullptr;
  MenuEntry* entry = FindEntry(DataOf(menu), item, flags, &holder);
  if (!entry) return pf::FALSE;
  if (freeSubMenu && (entry->flags & MF_POPUP)) DestroyMenu(entry->sub);
  holder->entries.erase(holder->entries.begin() + (entry - holder->entries.data()));
  return pf::TRUE;
}

void AddString(HMENU menu, UINT id, const char16_t* text) { AppendMenuW(menu, MF_STRING, id, text); }
void AddLine(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

// Menu 1 of the platform's resources: the standard edit menu.
HMENU StandardEditMenu() {
  HMENU items = CreatePopupMenu();
  AddString(items, 772, u"&Undo");
  AddLine(items);
  AddString(items, 768, u"Cu&t");
  AddString(items, 769, u"&Copy");
  AddString(items, 770, u"&Paste");
  AddString(items, 771, u"&Delete");
  AddLine(items);
  AddString(items, 177, u"Select &All");
  AddLine(items);
  AddString(items, 0x8000, u"&Right to left Reading order");
  AddString(items, 0x8001, u"&Show Unicode control characters");
  AddString(items, 0x8013, u"&Open input method");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(items), u"");
  return bar;
}

// The framework menu that shows `data`'s entries; a chosen entry's command lands in `chosen`.
void FillPopup(TPopupMenu& popup, const MenuData& data, UINT& chosen) {
  for (const MenuEntry& entry : data.entries) {
    if (entry.flags & MF_POPUP) continue;
    auto* item = new TMenuItem(nullptr);
    item->SetCaption((entry.flags & MF_SEPARATOR) ? String(u"-") : entry.text);
    item->SetEnabled(!(entry.flags & kStateFlags));
    const UINT id = entry.id;
    item->OnClick = [&chosen, id](TObject*) { chosen = id; };
    popup.Items()->Add(item);
  }
}

}  // namespace

HMENU CreateMenu() { return NewMenu(); }
HMENU CreatePopupMenu() { return NewMenu(); }

BOOL DestroyMenu(HMENU menu) {
  MenuData* data = DataOf(menu);
  if (!data) return pf::FALSE;
  std::vector<MenuEntry> entries = std::move(data->entries);
  gMenus->menus.erase(reinterpret_cast<UINT_PTR>(menu));
  for (const MenuEntry& entry : entries)
    if (entry.flags & MF_POPUP) DestroyMenu(entry.sub);
  return pf::TRUE;
}

BOOL IsMenu(HMENU menu) { return gMenus->menus.count(reinterpret_cast<UINT_PTR>(menu)) ? pf::TRUE : pf::FALSE; }

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) {
  MenuData* data = DataOf(menu);
  if (!data || ((flags & MF_POPUP) && !IsMenu(reinterpret_cast<HMENU>(item)))) return pf::FALSE;
  data->entries.push_back(EntryFrom(flags, item, text));
  return pf::TRUE;
}

BOOL ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR newItem, LPCWSTR text) {
  MenuEntry* entry = FindEntry(DataOf(menu), item, flags);
  if (!entry || ((flags & MF_POPUP) && !IsMenu(reinterpret_cast<HMENU>(newItem)))) return pf::FALSE;
  if ((entry->flags & MF_POPUP) && entry->sub != reinterpret_cast<HMENU>(newItem)) DestroyMenu(entry->sub);
  *entry = EntryFrom(flags, newItem, text);
  return pf::TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) { return TakeEntry(menu, item, flags, true); }
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) { return TakeEntry(menu, item, flags, false); }

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  MenuEntry* entry = FindEntry(DataOf(menu), item, enable);
  if (!entry) return kNoEntry;
  const UINT before = entry->flags & kStateFlags;
  entry->flags = (entry->flags & ~kStateFlags) | (enable & kStateFlags);
  return before;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuEntry* entry = FindEntry(DataOf(menu), item, flags);
  return entry ? entry->flags : kNoEntry;
}

int GetMenuItemCount(HMENU menu) {
  MenuData* data = DataOf(menu);
  return data ? static_cast<int>(data->entries.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  MenuEntry* entry = position < 0 ? nullptr : FindEntry(DataOf(menu), static_cast<UINT>(position), MF_BYPOSITION);
  if (!entry || (entry->flags & MF_POPUP)) return kNoEntry;
  return (entry->flags & MF_SEPARATOR) ? 0 : entry->id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  MenuEntry* entry = position < 0 ? nullptr : FindEntry(DataOf(menu), static_cast<UINT>(position), MF_BYPOSITION);
  return entry && (entry->flags & MF_POPUP) ? entry->sub : nullptr;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxCount, UINT flags) {
  MenuEntry* entry = FindEntry(DataOf(menu), item, flags);
  if (!entry || !buffer || maxCount <= 0) return 0;
  const size_t n = std::min(entry->text.size(), static_cast<size_t>(maxCount - 1));
  std::copy_n(entry->text.data(), n, buffer);
  buffer[n] = 0;
  return static_cast<int>(n);
}

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
  if (instance == pf::GetModuleHandleW(u"user32") && pf::IS_INTRESOURCE(name) && reinterpret_cast<UINT_PTR>(name) == 1)
    return StandardEditMenu();
  pf::SetLastError(pf::ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const pf::RECT* ignored) {
  (void)reserved, (void)ignored;
  MenuData* data = DataOf(menu);
  if (!data) return pf::FALSE;
  UINT chosen = 0;
  {
    TPopupMenu popup(nullptr);
    FillPopup(popup, *data, chosen);
    popup.Popup(x, y);
  }
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (!chosen) return pf::FALSE;
  if (owner) pf::PostMessageW(owner, pf::WM_COMMAND, chosen, 0);
  return pf::TRUE;
}

}  // namespace kestrel
