#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VisualTestSupport.h"
#include "framework/DragTracker.h"
#include "framework/Panel.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/DragCursors.h"

namespace kestrel {
namespace {

using platform::InjectMouseButton;
using platform::InjectMouseMove;
using platform::MouseButton;
using testing::Pump;
using testing::ShownForm;

// Two panels side by side: the source drags itself automatically, the target records what it
// is asked and accepts when `accept` says so.
struct DragScene {
  ShownForm form{400, 200};
  TPanel* source;
  TPanel* target;
  bool accept = true;
  std::vector<std::string> log;

  DragScene() {
    source = Make(10, 10);
    target = Make(200, 10);
    source->SetDragMode(dmAutomatic);
    source->OnClick = [this](TObject*) { log.push_back("click"); };
    source->OnStartDrag = [this](TObject*, TDragObject*&) { log.push_back("start"); };
    source->OnEndDrag = [this](TObject*, TObject* to, int x, int y) {
      log.push_back(to == target ? "end on target " + At(x, y) : to ? "end elsewhere" : "end cancelled");
    };
    target->OnDragOver = [this](TObject*, TObject* from, int, int, TDragState state, bool& ok) {
      static const char* const names[] = {"enter", "leave", "move"};
      log.push_back(std::string(names[state]) + (from == source ? "" : " (foreign source)"));
      ok = accept;
    };
    target->OnDragDrop = [this](TObject*, TObject* from, int x, int y) {
      log.push_back(std::string(from == source ? "drop " : "drop (foreign source) ") + At(x, y));
    };
    Pump();
  }
  TPanel* Make(int left, int top) {
    auto* p = new TPanel(form.form);
    p->SetParent(form.form);
    p->SetBounds(left, top, 100, 100);
    return p;
  }
  static std::string At(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  void Move(TControl& c, int x, int y) {
    InjectMouseMove(c.ClientToScreen(Point(x, y)));
    Pump();
  }
  void Button(TControl& c, int x, int y, bool down) {
    InjectMouseButton(MouseButton::Left, down, c.ClientToScreen(Point(x, y)));
    Pump();
  }
  // Presses on the source and carries the mouse onto the target's (x, y).
  void DragOnto(int x, int y) {
    Move(*source, 50, 50);
    Button(*source, 50, 50, true);
    Move(*source, 60, 50);
    Move(*target, x, y);
  }
  platform::WORD Cursor() const { return platform::HeadlessBackend::Current()->CursorShape(); }
};

TEST(DragDrop, DraggingOntoAnAcceptingControlDropsTheSourceThere) {
  DragScene s;
  s.DragOnto(30, 40);
  EXPECT_TRUE(s.source->Dragging());
  EXPECT_EQ(s.Cursor(), platform::kDragCursorShape);
  s.Button(*s.target, 30, 40, false);
  const std::vector<std::string> expected = {"start", "enter", "drop 30,40", "end on target 30,40"};
  EXPECT_EQ(s.log, expected);  // the press that became a drag is no click
  EXPECT_FALSE(s.source->Dragging());
  EXPECT_EQ(platform::GetCapture(), nullptr);
}

TEST(DragDrop, EscapeAndLosingTheCaptureCancelWithoutATarget) {
  DragScene s;
  s.DragOnto(30, 40);
  platform::InjectKeyStroke(platform::VK_ESCAPE);
  Pump();
  EXPECT_FALSE(s.source->Dragging());
  s.Button(*s.target, 30, 40, false);
  std::vector<std::string> expected = {"start", "enter", "leave", "end cancelled"};
  EXPECT_EQ(s.log, expected);

  s.log.clear();
  s.DragOnto(30, 40);
  platform::SetCapture(s.target->Handle());  // someone else takes the mouse
  Pump();
  EXPECT_FALSE(s.source->Dragging());
  expected = {"start", "enter", "leave", "end cancelled"};
  EXPECT_EQ(s.log, expected);
  platform::ReleaseCapture();
  s.Button(*s.target, 30, 40, false);
}

TEST(DragDrop, ARefusingTargetShowsNoDropAndGetsNoDrop) {
  DragScene s;
  s.accept = false;
  s.DragOnto(30, 40);
  EXPECT_EQ(s.Cursor(), CursorResource(crNoDrop));
  // Ctrl asks the target again; this time it accepts, with the copy cursor.
  s.accept = true;
  s.source->SetDragCursor(crMultiDrag);
  platform::InjectKey(platform::VK_CONTROL, true);
  Pump();
  EXPECT_EQ(s.Cursor(), platform::kMultiDragCursorShape);
  s.accept = false;
  platform::InjectKey(platform::VK_CONTROL, false);
  Pump();
  EXPECT_EQ(s.Cursor(), CursorResource(crNoDrop));
  s.Button(*s.target, 30, 40, false);
  const std::vector<std::string> expected = {"start", "enter", "move", "move", "leave", "end cancelled"};
  EXPECT_EQ(s.log, expected);
}

TEST(DragDrop, TheDragStartsOnlyOutsideTheDragRectangle) {
  const int cx = platform::GetSystemMetrics(platform::SM_CXDRAG);
  ASSERT_GT(cx, 0);
  DragScene s;
  // A wobble inside the rectangle is a click.
  s.Move(*s.source, 50, 50);
  s.Button(*s.source, 50, 50, true);
  s.Move(*s.source, 50 + cx - 1, 50 + cx - 1);
  EXPECT_FALSE(TDragTracker::Instance().Started());
  s.Button(*s.source, 50 + cx - 1, 50 + cx - 1, false);
  EXPECT_EQ(s.log, std::vector<std::string>{"click"});
  // Leaving it along one axis only is enough.
  s.log.clear();
  s.Button(*s.source, 50, 50, true);
  s.Move(*s.source, 50 + cx, 50);
  EXPECT_TRUE(TDragTracker::Instance().Started());
  s.Button(*s.source, 50 + cx, 50, false);
  const std::vector<std::string> expected = {"start", "end cancelled"};
  EXPECT_EQ(s.log, expected);
}

TEST(DragDrop, FreeingTheTargetOrTheSourceMidDragLeavesNothingDangling) {
  DragScene s;
  s.DragOnto(30, 40);
  s.source->RecreateWnd();  // the window that held the mouse goes
  EXPECT_FALSE(s.source->Dragging());
  EXPECT_EQ(s.log.back(), "end cancelled");
  s.Button(*s.target, 30, 40, false);
  s.DragOnto(30, 40);
  delete s.target;
  s.target = nullptr;
  s.Move(*s.source, 70, 50);  // asks whatever is under the mouse now, not the freed target
  EXPECT_TRUE(s.source->Dragging());
  delete s.source;
  EXPECT_FALSE(TDragTracker::Instance().Active());
  InjectMouseButton(MouseButton::Left, false, s.form->ClientToScreen(Point(70, 50)));
  Pump();
}

}  // namespace
}  // namespace kestrel
