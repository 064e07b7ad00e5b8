#include "platform/backend/internal/WheelAccumulator.h"

#include <cmath>

namespace kestrel::platform {

namespace {
constexpr double kUnitsPerNotch = 120;
}

int WheelAccumulator::Take(float notches) {
  double units = notches * kUnitsPerNotch;
  // A turn against the carried remainder starts afresh.
  if ((units > 0 && remainder_ < 0) || (units < 0 && remainder_ > 0)) remainder_ = 0;
  double total = remainder_ + units;
  double whole = std::trunc(total);
  remainder_ = total - whole;
  return static_cast<int>(whole);
}

}  // namespace kestrel::platform
