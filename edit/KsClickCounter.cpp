#include "edit/KsClickCounter.h"

#include <cstdlib>

#include "platform/gdi/SystemColors.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

TKsClickCounter::TKsClickCounter()
    : TKsClickCounter(pf::GetSystemMetrics(pf::SM_CXDOUBLECLK), pf::GetSystemMetrics(pf::SM_CYDOUBLECLK),
                      pf::GetDoubleClickTime()) {}

bool TKsClickCounter::StartsNewSeries(int x, int y, std::uint32_t time) const {
  if (FClickCount == 0) return true;
  // Unsigned difference: a clock that wrapped around still gives the elapsed time.
  if (time - FLastClickTime > FDoubleClickTimeout) return true;
  return std::abs(x - FFirstClickX) > FDoubleClickCX || std::abs(y - FFirstClickY) > FDoubleClickCY;
}

int TKsClickCounter::Press(int x, int y, std::uint32_t time) {
  if (StartsNewSeries(x, y, time)) {
    FClickCount = 1;
    FFirstClickX = x;
    FFirstClickY = y;
  } else {
    ++FClickCount;
  }
  FLastClickTime = time;
  const int count = FClickCount;
  if (FClickCount >= 3) FClickCount = 0;
  return count;
}

}  // namespace kestrel
