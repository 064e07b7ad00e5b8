#include "platform/window/ScrollThumbGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace kestrel::platform {

namespace {

std::int64_t RangeOf(const ScrollThumbInput& in) { return static_cast<std::int64_t>(in.max) - in.min + 1; }

// The part of the range the thumb's start can stand for: range minus the page.
std::int64_t ScrollableSpan(const ScrollThumbInput& in) {
  std::int64_t range = RangeOf(in);
  return range - std::min<std::int64_t>(std::max(in.page, 0), range);
}

int RoundedMulDiv64(std::int64_t number, std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0) return 0;
  std::int64_t product = number * numerator;
  bool negative = (product < 0) != (denominator < 0);
  std::int64_t magnitude = (std::abs(product) + std::abs(denominator) / 2) / std::abs(denominator);
  std::int64_t result = negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<std::int64_t>(result, INT32_MIN, INT32_MAX));
}

}  // namespace

int RoundedMulDiv(int number, int numerator, int denominator) {
  return RoundedMulDiv64(number, numerator, denominator);
}

int ProportionalThumbLength(const ScrollThumbInput& in) {
  if (in.track < 0) return 0;
  int thumb = in.track;
  std::int64_t spread = static_cast<std::int64_t>(in.max) - in.min;
  if (spread >= 1 && in.page == 0) thumb = in.pageZeroThumb;
  if (spread >= 1 && in.page > 0 && spread >= in.page) thumb = RoundedMulDiv64(in.page, in.track, RangeOf(in));
  thumb = std::max(thumb, in.minThumb);
  return thumb > in.track ? 0 : thumb;
}

int ThumbOffsetForPos(const ScrollThumbInput& in, int thumb) {
  int free = in.track - thumb;
  if (free <= 0 || in.max < in.min) return 0;
  std::int64_t top = static_cast<std::int64_t>(in.max) - std::max(in.page, 0) + 1;
  std::int64_t pos = std::min<std::int64_t>(top, in.pos) - in.min;
  return std::clamp(RoundedMulDiv64(free, pos, ScrollableSpan(in)), 0, free);
}

int PosForThumbOffset(const ScrollThumbInput& in, int thumb, int offset) {
  std::int64_t pos = static_cast<std::int64_t>(in.min) + RoundedMulDiv64(offset, ScrollableSpan(in), in.track - thumb);
  return static_cast<int>(std::clamp<std::int64_t>(pos, INT32_MIN, INT32_MAX));
}

}  // namespace kestrel::platform
