#pragma once
// TEdit: a plain single-line edit box — typing, Backspace/Delete, caret movement with Shift
// selection, Ctrl+A/C/X/V, mouse placement of the caret, MaxLength, ReadOnly, PasswordChar.
// Positions are UTF-16 code units and never split a surrogate pair.

#include "framework/ButtonControl.h"

namespace kestrel {

class TEdit : public TCustomControl {
  KESTREL_CLASS(TEdit)
  explicit TEdit(TComponent* owner);

  void SetText(const String& value) override;
  int MaxLength() const { return maxLength_; }
  // 0 = no limit; a shorter limit does not cut the present text.
  void SetMaxLength(int value) { maxLength_ = value < 0 ? 0 : value; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  char16_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char16_t value);

  int SelStart() const { return std::min(anchor_, caret_); }
  void SetSelStart(int value);
  int SelLength() const { return std::abs(caret_ - anchor_); }
  void SetSelLength(int value);
  String SelText() const;
  // Replaces the selection (respecting MaxLength; ReadOnly does not apply to calls from code).
  void SetSelText(const String& value);
  void SelectAll();
  void ClearSelection() { SetSelText(String()); }
  void CopyToClipboard() const;
  void CutToClipboard();
  void PasteFromClipboard();
  int CaretPos() const { return caret_; }
  // Text as shown (a password masked), caret, editable unless ReadOnly.
  void GetAccessibleInfo(TAccessibleInfo& info) const override;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void KeyDown(platform::WORD& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void WndProc(TMessage& message) override;
  platform::LRESULT DialogCode() const override;
  virtual void Change();

 private:
  String DisplayText() const;
  int TextX(int index);
  int IndexAt(int x);
  void MoveCaret(int index, bool extend);
  void ScrollToCaret();
  int Clamp(int index) const;

  int maxLength_ = 0;
  bool readOnly_ = false;
  char16_t passwordChar_ = 0;
  int caret_ = 0;
  int anchor_ = 0;
  int scroll_ = 0;
};

}  // namespace kestrel
