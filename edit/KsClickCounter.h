#pragma once
// Counts the left-button presses of a series: a press belongs to the series when it comes within
// the platform's double-click time of the last one and lies within the double-click width and
// height of the series' first press. The third press of a series ends it.

#include <cstdint>

namespace kestrel {

class TKsClickCounter {
 public:
  // Reads the platform's double-click rectangle and time.
  TKsClickCounter();
  TKsClickCounter(int doubleClickCX, int doubleClickCY, std::uint32_t doubleClickTimeout)
      : FDoubleClickCX(doubleClickCX), FDoubleClickCY(doubleClickCY), FDoubleClickTimeout(doubleClickTimeout) {}

  // Counts a press at (X, Y) made at Time (milliseconds); answers its place in the series
  // (1, 2 or 3). After a third press the next one starts a new series.
  int Press(int x, int y, std::uint32_t time);
  int ClickCount() const { return FClickCount; }
  void Reset() { FClickCount = 0; }

 private:
  bool StartsNewSeries(int x, int y, std::uint32_t time) const;

  int FClickCount = 0;
  std::uint32_t FLastClickTime = 0;
  int FFirstClickX = 0;
  int FFirstClickY = 0;
  int FDoubleClickCX;
  int FDoubleClickCY;
  std::uint32_t FDoubleClickTimeout;
};

}  // namespace kestrel
