#include "controls/KsSBGeometry.h"

#include <algorithm>

#include "platform/window/ScrollThumbGeometry.h"

namespace kestrel {

namespace {

int ButtonsAtEnd(bool shown, bool secondary) { return shown ? (secondary ? 2 : 1) : 0; }

platform::ScrollThumbInput ThumbInput(const TKsSBGeometryInput& in, int track) {
  return platform::ScrollThumbInput{in.min, in.max, in.page, in.pos, track, in.minThumb, in.pageZeroThumb};
}

}  // namespace

TKsSBGeometry::TKsSBGeometry(const TKsSBGeometryInput& in)
    : in_(in),
      length_(in.length),
      start_(ButtonsAtEnd(in.showStart, in.secondary)),
      end_(ButtonsAtEnd(in.showEnd, in.secondary)) {
  int buttons = start_ + end_;
  // No buttons at all, or a bar of no length, keeps the button size rather than dividing by 0.
  button_ = (buttons == 0 || length_ >= in.baseButton * buttons) ? in.baseButton : std::max(length_, 0) / buttons;
  track_ = length_ - button_ * buttons;
  if (in.thumbMode == etmFixed) thumb_ = std::clamp(in.fixedThumb, 0, std::max(track_, 0));
  else thumb_ = platform::ProportionalThumbLength(ThumbInput(in, track_));
}

int TKsSBGeometry::ThumbPosFor() const {
  if (thumb_ + button_ * (start_ + end_) >= length_ || in_.max < in_.min) return TrackStart();
  return TrackStart() + platform::ThumbOffsetForPos(ThumbInput(in_, track_), thumb_);
}

int TKsSBGeometry::PosFromThumb(int thumbStart) const {
  return platform::PosForThumbOffset(ThumbInput(in_, track_), thumb_, thumbStart - TrackStart());
}

void TKsSBGeometry::PartSpan(TKsScrollBarPart part, int thumbStart, int& from, int& to) const {
  switch (part) {
    case sbpLeftArrow: from = 0, to = start_ ? button_ : 0; break;
    case sbpLeftSndArrow: from = button_, to = start_ == 2 ? 2 * button_ : button_; break;
    case sbpRightArrow: from = end_ ? length_ - button_ : length_, to = length_; break;
    case sbpRightSndArrow: from = end_ == 2 ? length_ - 2 * button_ : length_ - button_, to = length_ - button_; break;
    case sbpLeftTop: from = TrackStart(), to = thumbStart; break;
    case sbpThumb: from = thumbStart, to = thumbStart + thumb_; break;
    case sbpRightBottom: from = thumbStart + thumb_, to = TrackEnd(); break;
    default: from = to = 0; break;
  }
}

}  // namespace kestrel
