#pragma once
// The scroll-bar controller's record of its window's redraw switch. Around the control's own
// handling of WM_HSCROLL/WM_VSCROLL the controller switches redraw off, so the platform does not
// draw its bars under the owner-drawn ones, and on again afterwards; a WM_SETREDRAW true sent
// by the control meanwhile is swallowed. Redraw is switched back on however the control's
// handling ends: RestoreGuard runs the restore when its scope is left, by an exception too.

#include <cstdint>
#include <functional>

#include "platform/core/ScopeGuard.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

enum class TSaveWMSetRedraw : std::uint8_t { wmsrUnknown, wmsrFalse, wmsrTrue, wmsrFalseNeddRestore };

class TKsSBRedrawSwitch {
 public:
  // Sends WM_SETREDRAW to the control; the message may come back through FilterSetRedraw.
  using SendRedraw = std::function<void(bool on)>;
  explicit TKsSBRedrawSwitch(SendRedraw send) : send_(std::move(send)) {}

  TSaveWMSetRedraw State() const { return state_; }
  // A newly attached window draws.
  void Reset() { state_ = TSaveWMSetRedraw::wmsrTrue; }

  // Before a scroll request: redraw off; when it was on, the controller owes the restore.
  void SuspendForScroll();
  // Before WM_SETREDRAW reaches the control: true when it is to be swallowed (answer 0).
  bool FilterSetRedraw(platform::WPARAM on);
  // After the scroll request: redraw on again when the controller switched it off. True when
  // it did, so the caller repaints what moved.
  bool RestoreAfterScroll();

  auto RestoreGuard() {
    return platform::ScopeGuard([this] { RestoreAfterScroll(); });
  }

 private:
  SendRedraw send_;
  TSaveWMSetRedraw state_ = TSaveWMSetRedraw::wmsrTrue;
};

}  // namespace kestrel
