#pragma once
// The window a TPopupMenu shows its items in: a borderless top-level window above all others
// that holds the mouse capture while it is shown; it is never activated, and the menu's loop
// sends it the keyboard's messages. Internal to TPopupMenu.

#include <vector>

#include "framework/CustomControl.h"

namespace kestrel {

class TPopupMenu;
class TMenuItem;

class TPopupMenuWindow : public TCustomControl {
  KESTREL_CLASS(TPopupMenuWindow)
  explicit TPopupMenuWindow(TPopupMenu& menu);
  ~TPopupMenuWindow() override;

  // Lays the visible items out and shows them at screen point (x, y).
  void ShowAt(int x, int y);
  bool Shown() const { return shown_; }
  // Hides the window and tells the menu what was chosen (null: nothing).
  void Close(TMenuItem* chosen);
  // A shown item's rectangle in screen coordinates (empty when it is not shown).
  TRect ItemRect(const TMenuItem* item) const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Paint() override;

 private:
  struct Entry {
    TMenuItem* item;
    int top;
    int height;
  };

  void Layout();
  int EntryAt(int x, int y) const;
  void SetHot(int index);
  void MoveHot(int step);
  void Choose(int index);
  bool HandleKey(platform::WORD key);
  // The entry whose caption marks `key` as its accelerator ("&Open": O), or -1.
  int EntryWithAccelerator(char16_t key) const;
  void PaintEntry(const Entry& entry, bool hot, bool themed);

  TPopupMenu& menu_;
  std::vector<Entry> entries_;
  int hot_ = -1;
  bool shown_ = false;
  bool closing_ = false;
};

}  // namespace kestrel
