#include "platform/window/internal/DamageList.h"

#include <algorithm>
#include <limits>

#include "platform/window/internal/FrameLayout.h"

namespace kestrel::platform {

namespace {

long long Area(const RECT& r) { return 1LL * (r.right - r.left) * (r.bottom - r.top); }

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The pixels of the union of `a` and `b` that neither covers.
long long Waste(const RECT& a, const RECT& b) {
  return Area(UnionRects(a, b)) - (Area(a) + Area(b) - Area(IntersectRects(a, b)));
}

// Little enough to present the union instead of both: an eighth of what they cover (adjacent
// lines of text merge, the sides of a ring do not).
bool WastesLittle(const RECT& a, const RECT& b) { return Waste(a, b) * 8 <= Area(a) + Area(b); }

}  // namespace

void DamageList::Add(const RECT& added) {
  if (RectEmpty(added)) return;
  RECT r = added;
  for (std::size_t i = 0; i < count_; ++i)
    if (Contains(rects_[i], r)) return;
  // A merge grows the rectangle, which may then swallow or touch others: start over after each.
  for (std::size_t i = 0; i < count_;) {
    if (Contains(r, rects_[i]) || WastesLittle(r, rects_[i])) {
      r = UnionRects(r, rects_[i]);
      RemoveAt(i);
      i = 0;
    } else {
      ++i;
    }
  }
  rects_[count_++] = r;
  if (count_ > kCapacity) MergeCheapestPair();
}

void DamageList::RemoveAt(std::size_t index) {
  std::copy(rects_.begin() + static_cast<std::ptrdiff_t>(index + 1),
            rects_.begin() + static_cast<std::ptrdiff_t>(count_), rects_.begin() + static_cast<std::ptrdiff_t>(index));
  --count_;
}

void DamageList::MergeCheapestPair() {
  std::size_t first = 0, second = 1;
  long long least = std::numeric_limits<long long>::max();
  for (std::size_t i = 0; i < count_; ++i)
    for (std::size_t j = i + 1; j < count_; ++j)
      if (const long long waste = Waste(rects_[i], rects_[j]); waste < least) {
        least = waste;
        first = i;
        second = j;
      }
  const RECT merged = UnionRects(rects_[first], rects_[second]);
  RemoveAt(second);
  RemoveAt(first);
  Add(merged);
}

}  // namespace kestrel::platform
