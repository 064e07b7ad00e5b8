#pragma once
// Turns the steps of an owner-drawn scroll bar into the attached window's own WM_HSCROLL and
// WM_VSCROLL messages, then lets the bar re-read the platform scroll information the window's
// handling left behind. Positions travel in the message's 16-bit high word as usual; while a
// position or track message is handled the platform's track position holds the whole 32-bit
// value, so a window reading SIF_TRACKPOS scrolls correctly above 65,535.

#include "controls/KsSBTypes.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

// What the translation needs of the bar that stepped.
class TKsSBScrollSide {
 public:
  virtual ~TKsSBScrollSide() = default;
  virtual int Position() const = 0;
  virtual int Min() const = 0;
  virtual int Max() const = 0;
  virtual int TrackPos() const = 0;
  virtual bool UseSystemStep() const = 0;
  // Re-reads the platform scroll information of its side without repainting.
  virtual void Reread() = 0;
};

class TKsSBScrollTranslator {
 public:
  TKsSBScrollTranslator(platform::HWND control, bool vertical) : control_(control), vertical_(vertical) {}
  // `position` is the step's target on entry and the bar's new position on return; `doChange`
  // says whether the bar moved.
  void Translate(TKsSBScrollSide& bar, TKsScrollCode step, bool& doChange, int& position);

 private:
  void Send(platform::WORD code, int position = 0);
  void SendPosition(int position);
  void Track(TKsSBScrollSide& bar, bool& doChange, int& position);
  int BarFlag() const { return vertical_ ? 1 : 0; }

  platform::HWND control_;
  bool vertical_;
};

}  // namespace kestrel
