#include "controls/KsSBRedrawSwitch.h"

namespace kestrel {

void TKsSBRedrawSwitch::SuspendForScroll() {
  bool wasOn = state_ == TSaveWMSetRedraw::wmsrTrue;
  send_(false);
  if (wasOn) state_ = TSaveWMSetRedraw::wmsrFalseNeddRestore;
}

bool TKsSBRedrawSwitch::FilterSetRedraw(platform::WPARAM on) {
  if (!on) {
    state_ = TSaveWMSetRedraw::wmsrFalse;
    return false;
  }
  if (state_ == TSaveWMSetRedraw::wmsrFalseNeddRestore) return true;
  state_ = TSaveWMSetRedraw::wmsrTrue;
  return false;
}

bool TKsSBRedrawSwitch::RestoreAfterScroll() {
  if (state_ != TSaveWMSetRedraw::wmsrFalseNeddRestore) return false;
  state_ = TSaveWMSetRedraw::wmsrFalse;
  send_(true);
  state_ = TSaveWMSetRedraw::wmsrTrue;
  return true;
}

}  // namespace kestrel
