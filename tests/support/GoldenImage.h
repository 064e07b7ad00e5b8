#pragma once
// Golden-image checks: a rendered surface is compared with tests/golden/<name>.png.
//
// Run with KESTREL_UPDATE_GOLDENS=1 (scripts/update-goldens does) to write the current rendering
// as the new golden; look at the changed PNGs before committing them.

#include <cairo.h>
#include <gtest/gtest.h>

#include <string>

namespace kestrel::testing {

struct GoldenTolerance {
  int perChannel = 0;        // largest allowed difference of one channel of one pixel
  double badPixelShare = 0;  // share of pixels allowed to exceed perChannel (0..1)
};

// Compares `surface` (ARGB32 or RGB24) with the golden PNG; on mismatch writes
// <build dir>/golden-failures/<name>.actual.png beside a diff image and fails with a summary.
::testing::AssertionResult MatchesGolden(cairo_surface_t* surface, const std::string& name,
                                         GoldenTolerance tolerance = {});

// Writes `surface` as PNG (for screenshots and debugging).
void WritePng(cairo_surface_t* surface, const std::string& path);

}  // namespace kestrel::testing
