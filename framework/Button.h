#pragma once
// TButton: the push button. Clicked by mouse, Space, Enter when focused; the Default button
// also by Enter anywhere on its form, the Cancel button by Escape. A ModalResult closes a
// modal form with that result.

#include "framework/ButtonControl.h"
#include "framework/Form.h"

namespace kestrel {

class TButton : public TButtonControl {
  KESTREL_CLASS(TButton)
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  void Click() override;
  void GetAccessibleInfo(TAccessibleInfo& info) const override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  platform::LRESULT DialogCode() const override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

}  // namespace kestrel
