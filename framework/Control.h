#pragma once
// TControl: the visible component. It has bounds in its parent's client area, visibility,
// enabled state, colour and font (optionally the parent's), alignment and anchors, a caption,
// and a WindowProc chain: every message — from the window system or from Perform — enters at
// WindowProc, so a hook that replaces WindowProc (keeping the old one to call on) sees them all.

#include <memory>

#include "framework/Accessible.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "framework/EnumSet.h"
#include "framework/Font.h"
#include "framework/LifeToken.h"

namespace kestrel {

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TDragObject;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TEnumSet<TAnchorKind>;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
};
using TControlStyle = TEnumSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
};
using TControlState = TEnumSet<TControlStateItem>;

// Cursors (TControl::Cursor): crDefault leaves the choice to the parent / window class.
constexpr int crDefault = 0;
constexpr int crNone = -1;
constexpr int crArrow = -2;
constexpr int crCross = -3;
constexpr int crIBeam = -4;
constexpr int crSizeNESW = -6;
constexpr int crSizeNS = -7;
constexpr int crSizeNWSE = -8;
constexpr int crSizeWE = -9;
constexpr int crHourGlass = -11;
constexpr int crNo = -12;
constexpr int crNoDrop = -13;
constexpr int crDrag = -15;
constexpr int crMultiDrag = -16;
constexpr int crHandPoint = -21;
constexpr int crSizeAll = -22;
// The IDC_… resource number of a cursor (0 for crDefault and unknown values).
int CursorResource(int cursor);

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// A context-menu request at MousePos (client coordinates; (-1, -1) when it came from the
// keyboard); setting Handled keeps the control's menu away.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Dragging inside the process (framework/DragTracker.h runs it). With dmAutomatic a left press
// on the control begins a drag that starts once the mouse leaves the drag rectangle.
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// Source is the dragged control (or the drag object OnStartDrag supplied); X, Y are the
// target's client coordinates.
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
// May supply a drag object of its own (kept alive by its supplier until OnEndDrag).
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
// Target is null when the drag was cancelled or nothing accepted the drop.
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

class TControl : public TComponent {
  KESTREL_CLASS(TControl)
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // ---- parent and geometry ----
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* value);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  // Moves and sizes the control (negative sizes count as 0) and re-aligns its parent.
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }

  // The client area in the control's own coordinates.
  virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
  void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
  // Screen position of the client area's corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // From this control's client coordinates to `parent`'s (an ancestor).
  TPoint ClientToParent(TPoint p, const TWinControl* parent = nullptr) const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value);

  // ---- state and looks ----
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible with every parent visible (and, at the top, shown on screen).
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* value) { font_->Assign(value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  // The caption or text (one value; Caption and Text are two names for it).
  const String& Caption() const { return text_; }
  void SetCaption(const String& value) { SetText(value); }
  const String& Text() const { return text_; }
  virtual void SetText(const String& value);
  const String& Hint() const { return hint_; }
  void SetHint(const String& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value) { showHint_ = value; }
  int Cursor() const { return cursor_; }
  void SetCursor(int value);

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState value) { controlState_ = value; }
  // The menu a context-menu request on the control shows (when its AutoPopup is on).
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);

  // ---- messages ----
  TWndMethod WindowProc;
  // Sends a message through WindowProc and returns its result.
  platform::LRESULT Perform(platform::UINT msg, platform::WPARAM wParam = 0, platform::LPARAM lParam = 0);

  // ---- painting ----
  virtual void Invalidate();
  // Paints pending updates now.
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  // Front and back of the parent's z-order.
  void BringToFront();
  void SendToBack();

  virtual void Click();
  virtual void DblClick();
  // Whether the control still exists, for code that raises an event that may free it.
  TLifeWatch Life() const { return life_.Watch(); }
  bool MouseInControl() const { return mouseInControl_; }
  // The form the control sits on (null if none).
  TCustomForm* GetParentForm() const;

  // ---- drag and drop ----
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode value) { dragMode_ = value; }
  // The cursor shown over a target that accepts this control.
  int DragCursor() const { return dragCursor_; }
  void SetDragCursor(int value) { dragCursor_ = value; }
  // Begins dragging this control: at once, or (not immediate) once the mouse leaves the
  // rectangle of `threshold` pixels (negative: the platform's drag width and height) around
  // where it is now.
  void BeginDrag(bool immediate, int threshold = -1);
  // Ends this control's drag: dropped where the mouse is (when the target accepts), or cancelled.
  void EndDrag(bool drop);
  bool Dragging() const;
  // Asked while something is dragged over the control (the base: OnDragOver decides; without
  // it the control refuses).
  virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
  // Something this control accepted was dropped at (x, y).
  virtual void DragDrop(TObject* source, int x, int y);

  // ---- accessibility ----
  // What the control tells assistive technologies; here: its caption as the name, its hint as
  // the description. Controls fill in their role, states and text.
  virtual void GetAccessibleInfo(TAccessibleInfo& info) const;
  // Carries out the action GetAccessibleInfo names (the base: Click); false when there is none.
  virtual bool DoAccessibleAction();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TContextPopupEvent OnContextPopup;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TStartDragEvent OnStartDrag;
  TEndDragEvent OnEndDrag;

 protected:
  friend class TWinControl;
  friend class TDragTracker;

  // The end of the WindowProc chain: the control's own message handling.
  virtual void WndProc(TMessage& message);
  // Messages nobody handled.
  virtual void DefaultHandler(TMessage& message);
  virtual void SetClientSize(int width, int height);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void DoContextPopup(TPoint mousePos, bool& handled);
  // A drag of this control starts (OnStartDrag) / ended on `target` (null: cancelled).
  virtual void DoStartDrag(TDragObject*& dragObject);
  virtual void DoEndDrag(TObject* target, int x, int y);
  // The menu for a context-menu request at client point `p` ((-1, -1): from the keyboard).
  virtual TPopupMenu* PopupMenuAt(TPoint p) const;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void Resize();
  virtual void VisibleChanging() {}
  // Called when colour, font, text, enabled state change (after the message went round).
  virtual void Changed() { Invalidate(); }
  void Loaded() override;
  // The bounds the window system reported (after a move or resize of a window).
  void UpdateBoundsFromWindow(int left, int top, int width, int height);
  // Remembers the current bounds and parent size as the origin the anchors work from.
  void UpdateAnchorRules();
  // The bounds the anchors give for the parent's new client size.
  TRect AnchoredBounds(int parentWidth, int parentHeight) const;
  void RequestAlign();
  void FontChanged(TObject* sender);
  // Called by the parent when it changes where the control lives.
  virtual void ParentChanged() {}
  bool IsColorStored() const { return !parentColor_; }
  bool IsFontStored() const { return !parentFont_; }
  // Sets the colour without giving up ParentColor (the parent's colour arriving).
  void SetColorFromParent(TColor value);

 private:
  void HandleMouseMessage(TMessage& message);
  void HandleButton(TMessage& message, TMouseButton button, bool down, bool dbl);
  // WM_CONTEXTMENU: OnContextPopup, then the popup menu; unhandled requests go to the default.
  void ContextMenu(TMessage& message);

  TLifeToken life_;
  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_ = {akLeft, akTop};
  TRect anchorOrigin_{};
  platform::SIZE anchorParentSize_{};
  bool anchorValid_ = false;
  bool anchoring_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  String text_;
  String hint_;
  bool showHint_ = false;
  int cursor_ = 0;
  bool mouseInControl_ = false;
  bool fontFromParent_ = false;
  TControlStyle controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;
  TPopupMenu* popupMenu_ = nullptr;
  TDragMode dragMode_ = dmManual;
  int dragCursor_ = crDrag;
};

}  // namespace kestrel
