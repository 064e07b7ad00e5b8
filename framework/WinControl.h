#pragma once
// TWinControl: a control with a window. The window is made on demand (HandleNeeded) from
// CreateParams, bound to the control through the window's extra data, and can be recreated
// (RecreateWnd) with its children. A windowed control is also the parent of other controls:
// it aligns and anchors them, paints its windowless children after itself in z-order, routes
// mouse input to them, and keeps the tab order of its windowed children.

#include <memory>
#include <vector>

#include "framework/Brush.h"
#include "framework/Control.h"

namespace kestrel {

struct TCreateParams {
  String Caption;
  platform::DWORD Style = 0;
  platform::DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  platform::HWND WndParent = nullptr;
  // The window class: its name, class styles and background brush.
  String WinClassName;
  platform::UINT ClassStyle = 0;
  platform::HBRUSH Background = nullptr;
};

using TKeyEvent = std::function<void(TObject* Sender, platform::WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;

class TWinControl : public TControl {
  KESTREL_CLASS(TWinControl)
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // ---- the window ----
  // Makes the window (and the parent's) when there is none yet.
  platform::HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and makes a new one from the current CreateParams, children included.
  void RecreateWnd();
  // The control owning `hwnd` (null for windows that are not controls').
  static TWinControl* FindControl(platform::HWND hwnd);

  // ---- children ----
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  // The topmost visible (and, unless allowDisabled, enabled) child at `p` (client coordinates);
  // windowed children only when allowWinControls.
  TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false) const;
  bool ContainsControl(const TControl* control) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Sends the message to every child (stops at a non-zero result).
  void Broadcast(TMessage& message);
  void NotifyControls(platform::UINT msg);

  // ---- alignment ----
  void DisableAlign() { ++alignLevel_; }
  void EnableAlign();
  void Realign();
  // The area aligned children share (the client area less any border the control draws).
  virtual void AdjustClientRect(TRect& rect) const;

  // ---- focus and tab order ----
  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  // The windowed children in tab order, recursively (children of children after their parent).
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The next (or previous) control to focus after `current` inside this control.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
  TBrush* Brush() const { return brush_.get(); }
  bool Showing() const override;
  // Windowed controls that take the focus say so.
  void GetAccessibleInfo(TAccessibleInfo& info) const override;

  void SetBounds(int left, int top, int width, int height) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void Invalidate() override;
  void Update() override;
  void SetParent(TWinControl* value) override;
  // Streaming: the children this control parents and `root` owns.
  void GetChildren(const TGetChildProc& proc, TComponent* root) const override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Children first; then the window.
  void DestroyHandle();
  // After the window exists: children's windows, state pushed to the window.
  virtual void CreateHandle();
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  // Paints the client area (a DC is in WParam of the message); TCustomControl paints its canvas.
  virtual void PaintWindow(platform::HDC dc);
  // Paints the windowless children that intersect the DC's clip box, in z-order from `first`.
  void PaintControls(platform::HDC dc, TControl* first);
  void PaintHandler(TMessage& message);
  // WM_PRINTCLIENT: erases (PRF_ERASEBKGND) and paints (PRF_CLIENT) into the given DC.
  void PrintClient(TMessage& message);
  // Tells every control below this one (CM_SHOWINGCHANGED) that whether it is showing may have
  // changed, after this control was shown or hidden.
  void NotifyShowingChanged();
  virtual void AlignControls(TControl* control, TRect& rect);
  virtual void KeyDown(platform::WORD& key, TShiftState shift);
  virtual void KeyUp(platform::WORD& key, TShiftState shift);
  virtual void KeyPress(char16_t& key);
  // Keys the control handles itself rather than the form's dialog navigation (DLGC_ flags).
  virtual platform::LRESULT DialogCode() const { return 0; }
  virtual void DoEnter();
  virtual void DoExit();
  void Changed() override;
  void Loaded() override;
  void ParentChanged() override;
  // Erases the background with the brush (the control's colour).
  virtual void EraseBackground(platform::HDC dc);

 private:
  friend class TControl;
  friend platform::LRESULT ControlWindowProc(platform::HWND, platform::UINT, platform::WPARAM, platform::LPARAM);
  // A mouse message: enter/leave tracking, the windowless child under the pointer, then focus
  // and capture for this window; true when a child consumed it.
  bool HandleMouseMessage(TMessage& message);
  void TrackMouseLeave(const TMessage& message);
  void RouteMouseToControls(TMessage& message);
  void FocusAndCaptureOnButton(const TMessage& message);
  // The pointer left the window: the child it was over hears it first, then this control.
  void MouseLeftWindow();
  // In the client area, the cursor of the windowless child under the pointer (else this
  // control's); false when that cursor has no resource and the default handling applies.
  bool SetClientCursor(const TMessage& message);
  // A context-menu request at a point of a windowless child goes to that child first; true
  // when the child handled it.
  bool RouteContextMenuToControl(TMessage& message);
  // Asks for a context menu when the key message is the menu key or Shift+F10.
  bool ContextMenuKey(const TMessage& message);
  bool HandleKeyMessage(TMessage& message);
  void UpdateZOrder(TControl* control);
  void AnchorChildren();
  void ReadWindowBounds();

  platform::HWND handle_ = nullptr;
  std::vector<TControl*> controls_;  // z-order: the last is on top
  std::vector<TWinControl*> tabList_;
  TControl* captureControl_ = nullptr;
  TControl* mouseControl_ = nullptr;
  std::unique_ptr<TBrush> brush_;
  int alignLevel_ = 0;
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  bool recreating_ = false;
};

}  // namespace kestrel
