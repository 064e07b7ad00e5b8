#pragma once
// TLabel: windowless text. With AutoSize it takes the size of its text (keeping its width when
// WordWrap is on); Transparent leaves the parent's background showing.

#include "framework/ButtonControl.h"
#include "framework/GraphicControl.h"
#include "framework/PropInfo.h"

namespace kestrel {

enum TTextLayout { tlTop, tlCenter, tlBottom };
const TEnumInfo& TextLayoutTypeInfo();

class TLabel : public TGraphicControl {
  KESTREL_CLASS(TLabel)
  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // '&' marks an accelerator (drawn underlined) unless ShowAccelChar is off.
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

  // Fits the size to the text now (AutoSize does it after every change).
  void AdjustBounds();

  // The control the label names: its accelerator (Alt with the '&' character) focuses it, and
  // assistive technologies read the label's text as its name. Cleared when that control goes.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);

  void GetAccessibleInfo(TAccessibleInfo& info) const override;

 protected:
  void WndProc(TMessage& message) override;
  void Paint() override;
  void Changed() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  unsigned TextFlags() const;

  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
  bool adjusting_ = false;
  TWinControl* focusControl_ = nullptr;
};

}  // namespace kestrel
