#pragma once
// The arithmetic of a window wearing owner-drawn scroll bars in its non-client area: the border
// widths measured without bars, the client rectangle that remains, both bars' rectangles in
// window coordinates (right and bottom inclusive), the corner between them, hit tests and the
// decisions of mouse routing. Pure geometry; the controller feeds it the window's numbers.

#include "platform/window/WindowDefs.h"

namespace kestrel {

struct TKsSBFrameInput {
  platform::RECT proposed{};       // the window rectangle proposed to WM_NCCALCSIZE
  platform::RECT defaultClient{};  // the client the control computed with its scroll styles removed
  bool hasHorz = false;
  bool hasVert = false;
  bool leftScrollBar = false;  // WS_EX_LEFTSCROLLBAR
  int horzDepth = 0;           // the horizontal bar's height
  int vertDepth = 0;           // the vertical bar's width
};

// Where a mouse point lands and whether the controller keeps the message.
struct TKsSBMouseRoute {
  bool overHorz = false;
  bool overVert = false;
  bool handled = false;
};

class TKsSBFrameLayout {
 public:
  // Steps of WM_NCCALCSIZE with bars: answers the client rectangle that remains.
  platform::RECT Calculate(const TKsSBFrameInput& input);
  // Both rectangles become (−1, −1, −1, −1): the window has no scroll style.
  void Clear();

  const platform::RECT& HorzRect() const { return horzRect_; }
  const platform::RECT& VertRect() const { return vertRect_; }
  bool HasHorz() const { return hasHorz_; }
  bool HasVert() const { return hasVert_; }
  bool LeftScrollBar() const { return leftBar_; }

  // Client point to window point: + the left and top borders, + the vertical bar on the left.
  platform::POINT ClientToFrame(platform::POINT client) const;
  // Extra height of the horizontal bar's painting (and of the corner) for a window `height` high.
  int PaintHeightGrowth(int height) const;
  // The corner between both bars (exclusive right and bottom), or (−1, −1, −1, −1).
  platform::RECT CrossRect(int height) const;
  // HTHSCROLL, HTVSCROLL, HTBOTTOMRIGHT/HTBOTTOMLEFT (size grip of a sizeable form) or HTNOWHERE.
  platform::LRESULT HitTest(platform::POINT frame, int height, bool sizeableForm) const;
  // `horzBusy`/`vertBusy`: that bar is pressed or tracking and keeps the mouse.
  TKsSBMouseRoute Route(platform::POINT frame, int height, bool horzBusy, bool vertBusy) const;

  // Border widths measured without scroll bars.
  int cxLeftEdge = 0;
  int cxRightEdge = 0;
  int cyTopEdge = 0;
  int cyBottomEdge = 0;

 private:
  bool OverHorz(platform::POINT frame, int height) const;
  bool OverVert(platform::POINT frame) const;

  platform::RECT horzRect_{-1, -1, -1, -1};
  platform::RECT vertRect_{-1, -1, -1, -1};
  bool hasHorz_ = false;
  bool hasVert_ = false;
  bool leftBar_ = false;
  int vertDepth_ = 0;
};

}  // namespace kestrel
