#include "tests/support/GoldenImage.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace kestrel::testing {

namespace {

namespace fs = std::filesystem;

fs::path GoldenPath(const std::string& name) { return fs::path(KESTREL_TEST_SOURCE_DIR) / "golden" / (name + ".png"); }

fs::path FailurePath(const std::string& name, const char* suffix) {
  fs::path dir = fs::current_path() / "golden-failures";
  fs::create_directories(dir);
  return dir / (name + suffix);
}

bool UpdateRequested() {
  const char* value = std::getenv("KESTREL_UPDATE_GOLDENS");
  return value && *value && std::string(value) != "0";
}

// Pixel as opaque-independent 0xAARRGGBB; RGB24 surfaces read as fully opaque.
std::uint32_t PixelAt(cairo_surface_t* surface, int x, int y) {
  auto* row = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                               y * cairo_image_surface_get_stride(surface));
  std::uint32_t value = row[x];
  if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24) value |= 0xFF000000u;
  return value;
}

int ChannelDifference(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    worst = d > worst ? d : worst;
  }
  return worst;
}

}  // namespace

void WritePng(cairo_surface_t* surface, const std::string& path) {
  cairo_surface_flush(surface);
  fs::create_directories(fs::path(path).parent_path());
  cairo_surface_write_to_png(surface, path.c_str());
}

::testing::AssertionResult MatchesGolden(cairo_surface_t* surface, const std::string& name, GoldenTolerance tolerance) {
  cairo_surface_flush(surface);
  fs::path golden = GoldenPath(name);
  if (UpdateRequested()) {
    WritePng(surface, golden.string());
    return ::testing::AssertionSuccess() << "golden " << name << " rewritten";
  }
  if (!fs::exists(golden))
    return ::testing::AssertionFailure() << "no golden image " << golden
                                         << " (run scripts/update-goldens to create it)";

  cairo_surface_t* expected = cairo_image_surface_create_from_png(golden.c_str());
  if (cairo_surface_status(expected) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(expected);
    return ::testing::AssertionFailure() << "cannot read golden image " << golden;
  }
  int width = cairo_image_surface_get_width(surface);
  int height = cairo_image_surface_get_height(surface);
  if (cairo_image_surface_get_width(expected) != width || cairo_image_surface_get_height(expected) != height) {
    std::ostringstream out;
    out << "size " << width << "x" << height << " differs from golden " << cairo_image_surface_get_width(expected)
        << "x" << cairo_image_surface_get_height(expected);
    cairo_surface_destroy(expected);
    WritePng(surface, FailurePath(name, ".actual.png").string());
    return ::testing::AssertionFailure() << out.str();
  }

  cairo_surface_t* diff = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  long bad = 0;
  int worst = 0;
  int firstX = -1, firstY = -1;
  auto* diffData = cairo_image_surface_get_data(diff);
  int diffStride = cairo_image_surface_get_stride(diff);
  for (int y = 0; y < height; ++y) {
    auto* diffRow = reinterpret_cast<std::uint32_t*>(diffData + y * diffStride);
    for (int x = 0; x < width; ++x) {
      int d = ChannelDifference(PixelAt(surface, x, y), PixelAt(expected, x, y));
      worst = d > worst ? d : worst;
      bool isBad = d > tolerance.perChannel;
      diffRow[x] = isBad ? 0xFFFF0000u : 0xFFFFFFFFu;
      if (isBad && bad++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  }
  cairo_surface_mark_dirty(diff);
  cairo_surface_destroy(expected);
  double share = static_cast<double>(bad) / (static_cast<double>(width) * height);
  if (bad > 0 && share > tolerance.badPixelShare) {
    WritePng(surface, FailurePath(name, ".actual.png").string());
    WritePng(diff, FailurePath(name, ".diff.png").string());
    cairo_surface_destroy(diff);
    return ::testing::AssertionFailure() << name << ": " << bad << " pixels differ by more than "
                                         << tolerance.perChannel << " (worst " << worst << ", first at " << firstX
                                         << "," << firstY << ")";
  }
  cairo_surface_destroy(diff);
  return ::testing::AssertionSuccess();
}

}  // namespace kestrel::testing
