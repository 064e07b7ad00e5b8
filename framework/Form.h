#pragma once
// TCustomForm / TForm: a top-level window holding controls. Border style and position decide the
// frame and where it first appears; OnCreate runs once the design (the constructor of the
// derived form) is complete; closing asks OnCloseQuery and OnClose; the form owns dialog
// navigation (Tab, Enter for the default button, Escape for the cancel button).

#include <memory>
#include <utility>

#include "framework/ControlCanvas.h"
#include "framework/PropInfo.h"
#include "framework/WinControl.h"

namespace kestrel {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
const TEnumInfo& FormBorderStyleTypeInfo();
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TEnumSet<TBorderIcon>;
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter,
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  KESTREL_CLASS(TCustomForm)
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Makes a form of class T (its constructor builds the design) and then runs OnCreate.
  template <class T, class... Args>
  static T* Create(Args&&... args) {
    T* form = new T(std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
  }
  // Runs OnCreate (once) and shows the form if the design made it visible.
  virtual void AfterConstruction();
  // Runs OnDestroy (once); whoever frees a form calls it first, the destructor as a last resort.
  virtual void BeforeDestruction();

  // A frame (a dialog with the dialog border), named by its caption.
  void GetAccessibleInfo(TAccessibleInfo& info) const override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Modal() const { return modal_; }

  TWinControl* ActiveControl() const { return activeControl_; }
  // Focuses the control when the form is showing (it must be a control of this form).
  void SetActiveControl(TWinControl* value);
  // The focus moved to `control` (called by the control).
  void SetActiveControlOnFocus(TWinControl* control);
  // Focuses the first control in tab order.
  void SelectFirst();

  TCanvas* Canvas() const { return canvas_.get(); }

  void Show();
  void Hide() { SetVisible(false); }
  // OnCloseQuery, then OnClose; hides, frees (later) or, for the main form, ends the program.
  void Close();
  // Shows the form and runs messages until ModalResult is set; other forms are disabled.
  TModalResult ShowModal();
  // Frees the form once the messages now queued are handled.
  void Release();
  bool CloseQuery();

  TRect ClientRect() const override;
  bool Showing() const override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void PaintWindow(platform::HDC dc) override;
  void SetClientSize(int width, int height) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoShow();
  virtual void DoHide();
  virtual void Paint();
  // Tab, Enter and Escape; true when the key was used.
  virtual bool DialogKey(platform::WORD key);
  // Sends the message to every control on the form (but `skip`) until one answers non-zero.
  bool BroadcastUntilAnswered(platform::UINT msg, platform::WPARAM wParam, const TControl* skip);

 private:
  void RestoreActiveControlFocus();
  void ApplyPosition();
  void ShowingChanged();
  // The frame around the client area for the current border style.
  TRect FrameInsets() const;

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = {biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDefaultPosOnly;
  TModalResult modalResult_ = mrNone;
  TWinControl* activeControl_ = nullptr;
  std::unique_ptr<TControlCanvas> canvas_;
  bool keyPreview_ = false;
  bool modal_ = false;
  bool created_ = false;
  bool destroyed_ = false;
  bool positioned_ = false;
};

class TForm : public TCustomForm {
  KESTREL_CLASS(TForm)
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

}  // namespace kestrel
