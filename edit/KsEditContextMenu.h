#pragma once
// The platform's own edit menu for an edit control: loaded from the platform's resources, the
// items an edit has no use for taken away, texts optionally replaced by the library's own,
// greyed for the edit's state, and shown. The chosen item reaches the edit as WM_COMMAND.

#include "framework/MenuHandle.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class TCustomKsEdit;

// The command ids of the platform's edit menu.
namespace ksmenu {
constexpr UINT Undo = 772;
constexpr UINT Cut = 768;
constexpr UINT Copy = 769;
constexpr UINT Paste = 770;
constexpr UINT Delete = 771;
constexpr UINT SelectAll = 177;
// The select-all id of the older platforms' menu.
constexpr UINT SelectAllOld = 1025;
}  // namespace ksmenu

class TKsEditContextMenu {
 public:
  // The loaded menu resource (free it with DestroyMenu) and its item list; null when the
  // platform has no edit menu.
  struct TMenus {
    HMENU resource = nullptr;
    HMENU items = nullptr;
  };
  static TMenus Build(const TCustomKsEdit& edit);
  // Builds the menu and shows it at a screen point; answers whether it could be shown.
  static bool Show(TCustomKsEdit& edit, int screenX, int screenY);

 private:
  static void RemoveUnusedItems(HMENU items);
  static void Localize(HMENU items);
  static void Grey(HMENU items, const TCustomKsEdit& edit);
};

}  // namespace kestrel
