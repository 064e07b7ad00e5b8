#include "platform/window/SystemParameters.h"

#include <atomic>

namespace kestrel::platform {

namespace {
// The desktop's usual setting.
std::atomic<UINT> wheelScrollLines{3};
}  // namespace

BOOL SystemParametersInfoW(UINT action, UINT uiParam, void* pvParam, UINT /*winIni*/) {
  switch (action) {
    case SPI_GETWHEELSCROLLLINES:
      if (!pvParam) return FALSE;
      *static_cast<UINT*>(pvParam) = wheelScrollLines.load();
      return TRUE;
    case SPI_SETWHEELSCROLLLINES: wheelScrollLines.store(uiParam); return TRUE;
    default: return FALSE;
  }
}

}  // namespace kestrel::platform
