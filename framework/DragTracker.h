#pragma once
// TDragTracker: runs the one drag there can be at a time inside the process. A drag begins on a
// control (TControl::BeginDrag), either at once or pending until the mouse leaves the drag
// rectangle around the press point. While it runs, the mouse is captured by the source's window
// and every mouse message of that window comes here before the control sees it: the tracker
// finds the control under the mouse, asks it through DragOver (enter, move, leave) whether it
// accepts, and shows the drag object's cursor. Releasing the button drops onto an accepting
// target (DragDrop) or ends the drag without a target; Escape, losing the capture and
// EndDrag(false) cancel it. The source hears OnEndDrag either way.

#include <memory>

#include "framework/Control.h"

namespace kestrel {

class TDragControlObject;

class TDragTracker {
 public:
  TDragTracker();
  ~TDragTracker();
  TDragTracker(const TDragTracker&) = delete;
  TDragTracker& operator=(const TDragTracker&) = delete;

  static TDragTracker& Instance();

  // Whether `p` (screen) lies outside the drag rectangle around `origin`: at least `threshold`
  // pixels away along either axis, or for a negative threshold at least the platform's drag width
  // (SM_CXDRAG) horizontally or its drag height (SM_CYDRAG) vertically.
  static bool OutsideDragRect(TPoint origin, TPoint p, int threshold = -1);

  // A drag is pending or running.
  bool Active() const { return source_ != nullptr; }
  // The drag has started (left the pending state).
  bool Started() const { return started_; }
  TControl* SourceControl() const { return source_; }
  TDragObject* DragObject() const { return dragObject_; }
  // The control the mouse is over now, and whether it accepts the drop.
  TControl* Target() const { return target_; }
  bool Accepted() const { return accepted_; }

  void Begin(TControl& source, bool immediate, int threshold);
  // Ends the drag: dropped at the last mouse position when `drop` and the target accepts,
  // otherwise cancelled.
  void End(bool drop);

  // The first look at a message for window `hwnd`, before its control's WindowProc; true when
  // the drag consumed it.
  bool FilterMessage(platform::HWND hwnd, const TMessage& message);
  // A control goes away: a drag it is the source of is cancelled, a target is forgotten.
  void ControlDestroyed(const TControl* control);

 private:
  void Start();
  void MoveTo(TPoint screen);
  // Asks `target` about the drag at the current position; the answer for leaving is ignored.
  bool AskTarget(TControl* target, TDragState state);
  void ShowDragCursor();
  bool FilterMouse(platform::HWND hwnd, const TMessage& message);
  bool FilterKey(const TMessage& message);
  // Forgets the drag and gives the capture and cursor back.
  void Reset();
  static TControl* FindTarget(TPoint screen);

  TControl* source_ = nullptr;
  TDragObject* dragObject_ = nullptr;
  std::unique_ptr<TDragControlObject> ownObject_;
  TControl* target_ = nullptr;
  bool accepted_ = false;
  bool started_ = false;
  int threshold_ = -1;
  TPoint origin_{};
  TPoint position_{};
  platform::HWND captureWindow_ = nullptr;
  bool ownsCapture_ = false;
  platform::HCURSOR savedCursor_ = nullptr;
};

}  // namespace kestrel
