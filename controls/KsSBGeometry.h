#pragma once
// The layout of one owner-drawn bar along its length: buttons at both ends, the track between
// them and the thumb in it. Coordinates run from the bar's start (0) to its length.

#include "controls/KsSBTypes.h"

namespace kestrel {

struct TKsSBGeometryInput {
  int length = 0;
  int depth = 0;
  int baseButton = 0;
  bool showStart = true;
  bool showEnd = true;
  bool secondary = false;
  TKsScrollThumbMode thumbMode = etmAuto;
  int fixedThumb = 0;
  int minThumb = 0;
  int pageZeroThumb = 0;
  int min = 0;
  int max = 0;
  int page = 0;
  int pos = 0;
};

class TKsSBGeometry {
 public:
  explicit TKsSBGeometry(const TKsSBGeometryInput& in);

  int ButtonSize() const { return button_; }
  int StartButtons() const { return start_; }
  int EndButtons() const { return end_; }
  // Pixels between the start and the end buttons (negative when the buttons overlap).
  int Track() const { return track_; }
  int TrackStart() const { return start_ * button_; }
  int TrackEnd() const { return length_ - end_ * button_; }
  int ThumbLength() const { return thumb_; }
  // Thumb start for the input's position, from the bar's start.
  int ThumbPosFor() const;
  // The position a thumb starting at `thumbStart` stands for.
  int PosFromThumb(int thumbStart) const;
  // Start and end (exclusive) of a part along the bar, for the given thumb start.
  void PartSpan(TKsScrollBarPart part, int thumbStart, int& from, int& to) const;

 private:
  TKsSBGeometryInput in_;
  int length_;
  int start_;
  int end_;
  int button_;
  int track_;
  int thumb_;
};

}  // namespace kestrel
