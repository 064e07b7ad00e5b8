#pragma once
// The one thumb computation shared by the platform's own scroll bars and the owner-drawn bars,
// so that painting and hit testing agree wherever a thumb is drawn.

namespace kestrel::platform {

// Multiply then divide with a 64-bit intermediate, rounded to the nearest integer (halves away
// from zero); 0 for a zero divisor.
int RoundedMulDiv(int number, int numerator, int denominator);

struct ScrollThumbInput {
  int min = 0;
  int max = 0;
  int page = 0;
  int pos = 0;
  // Pixels between the arrow buttons.
  int track = 0;
  // Shortest proportional thumb.
  int minThumb = 0;
  // Thumb length used when the page is 0 (the platform's thumb metric).
  int pageZeroThumb = 0;
};

// Length of a thumb proportional to the page: the whole track for an empty range or a page at
// least as large as the range, 0 when the track is too short for the minimum thumb.
int ProportionalThumbLength(const ScrollThumbInput& in);
// Thumb start measured from the track's start for a thumb `thumb` pixels long; never negative
// and never past track − thumb.
int ThumbOffsetForPos(const ScrollThumbInput& in, int thumb);
// The position a thumb starting `offset` pixels into the track stands for (not clamped).
int PosForThumbOffset(const ScrollThumbInput& in, int thumb, int offset);

}  // namespace kestrel::platform
