#pragma once
// Turns wheel motion in notches, as fine as the device reports it, into WHEEL_DELTA units
// (120 per notch). A high-resolution wheel reports fractions of a notch; each is passed on as
// the matching share of 120, and what is left below one unit is carried to the next event, so
// slow turning still scrolls and nothing is lost or counted twice.

namespace kestrel::platform {

class WheelAccumulator {
 public:
  // The whole units of `notches` plus the carried remainder; keeps the new remainder.
  int Take(float notches);
  // Forget the remainder (the direction changed, or the wheel left the window).
  void Reset() { remainder_ = 0; }

 private:
  double remainder_ = 0;
};

}  // namespace kestrel::platform
