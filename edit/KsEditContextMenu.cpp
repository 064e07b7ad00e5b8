#include "edit/KsEditContextMenu.h"

#include "edit/KsCustomEdit.h"
#include "platform/os/Paths.h"
#include "platform/window/Clipboard.h"

namespace kestrel {

namespace pf = platform;

namespace {

// The items removed from the platform's menu: reading order, control characters, input method.
constexpr UINT kUnusedItems[] = {0x8001, 0x8000, 0x8013};
// What is left at position 8 after them: the line that stood before them.
constexpr UINT kTrailingLinePosition = 8;

void SetGreyed(HMENU items, UINT id, bool greyed) { EnableMenuItem(items, id, greyed ? MF_GRAYED : MF_ENABLED); }

}  // namespace

TKsEditContextMenu::TMenus TKsEditContextMenu::Build(const TCustomKsEdit& edit) {
  TMenus menus;
  menus.resource = LoadMenuW(pf::GetModuleHandleW(u"user32"), pf::MAKEINTRESOURCEW(1));
  if (!menus.resource) return menus;
  menus.items = GetSubMenu(menus.resource, 0);
  if (!menus.items) {
    DestroyMenu(menus.resource);
    return TMenus{};
  }
  RemoveUnusedItems(menus.items);
  if (edit.LocalizedSystemMenu()) Localize(menus.items);
  Grey(menus.items, edit);
  return menus;
}

void TKsEditContextMenu::RemoveUnusedItems(HMENU items) {
  for (UINT id : kUnusedItems) DeleteMenu(items, id, MF_BYCOMMAND);
  DeleteMenu(items, kTrailingLinePosition, MF_BYPOSITION);
}

void TKsEditContextMenu::Localize(HMENU items) {
  struct TItemText {
    UINT id;
    const char16_t* text;
  };
  static constexpr TItemText texts[] = {{ksmenu::Undo, u"&Undo"},     {ksmenu::Cut, u"Cu&t"},
                                        {ksmenu::Copy, u"&Copy"},     {ksmenu::Paste, u"&Paste"},
                                        {ksmenu::Delete, u"&Delete"}, {ksmenu::SelectAll, u"&Select All"}};
  for (const TItemText& item : texts) ModifyMenuW(items, item.id, MF_BYCOMMAND | MF_STRING, item.id, item.text);
}

void TKsEditContextMenu::Grey(HMENU items, const TCustomKsEdit& edit) {
  const bool noSelection = edit.SelLength() == 0;
  const bool clipboardHasText =
      pf::IsClipboardFormatAvailable(pf::CF_TEXT) || pf::IsClipboardFormatAvailable(pf::CF_UNICODETEXT);
  // A read-only edit can still copy (and Cut copies there), but undo and delete change nothing.
  SetGreyed(items, ksmenu::Undo, !edit.CanUndo() || edit.ReadOnly());
  SetGreyed(items, ksmenu::Cut, noSelection);
  SetGreyed(items, ksmenu::Copy, noSelection);
  SetGreyed(items, ksmenu::Delete, noSelection || edit.ReadOnly());
  SetGreyed(items, ksmenu::Paste, !clipboardHasText || edit.ReadOnly());
  SetGreyed(items, ksmenu::SelectAll, edit.SelLength() == edit.Core().TextLength());
}

bool TKsEditContextMenu::Show(TCustomKsEdit& edit, int screenX, int screenY) {
  const TMenus menus = Build(edit);
  if (!menus.items) return false;
  TrackPopupMenu(menus.items, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenX, screenY, 0, edit.Handle(), nullptr);
  DestroyMenu(menus.resource);
  return true;
}

}  // namespace kestrel
