// Every image of the PNG conformance suite: valid ones decode to libpng's pixels, invalid ones
// (x*.png) raise the exception that names their fault.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <typeinfo>

#include "PngReference.h"
#include "PngTestUtil.h"
#include "imaging/PngObject.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

fs::path SuiteDir() { return fs::path(KESTREL_TEST_SOURCE_DIR) / "data" / "pngsuite"; }

std::vector<std::string> SuiteFiles(bool invalid) {
  std::vector<std::string> names;
  if (!fs::exists(SuiteDir())) return names;
  for (const auto& entry : fs::directory_iterator(SuiteDir())) {
    std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".png") continue;
    if ((name[0] == 'x') == invalid) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The gamma rule: a file gamma g gives level i the value round(255 (i/255)^(1/(2.2 g))), half to
// even; libpng is read without gamma correction, so the rule is applied to its samples here.
std::array<std::uint8_t, 256> ExpectedGamma(bool has, std::uint32_t gamma) {
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    double v = i;
    if (has && gamma != 0) v = std::nearbyint(255.0 * std::pow(i / 255.0, 1.0 / (gamma / 100000.0 * 2.2)));
    table[i] = static_cast<std::uint8_t>(v);
  }
  return table;
}

class ValidSuiteImage : public ::testing::TestWithParam<std::string> {};

TEST_P(ValidSuiteImage, DecodesToReferencePixels) {
  std::string path = (SuiteDir() / GetParam()).string();
  testing::ReferenceImage ref;
  ASSERT_TRUE(testing::DecodeWithReference(path, ref)) << "libpng rejects " << path;

  TVnPNGObject png;
  ASSERT_NO_THROW(png.LoadFromFile(Utf8ToUtf16(path)));
  ASSERT_FALSE(png.Empty());
  ASSERT_EQ(png.Width(), ref.width);
  ASSERT_EQ(png.Height(), ref.height);
  const auto gamma = ExpectedGamma(ref.hasGamma, ref.gamma);
  const TVnPNGTransparencyMode mode = png.TransparencyMode();
  const platform::COLORREF key = png.TransparentColor();

  int colourMismatches = 0, alphaMismatches = 0;
  for (std::uint32_t y = 0; y < ref.height; ++y) {
    for (std::uint32_t x = 0; x < ref.width; ++x) {
      const std::uint8_t* want = ref.Pixel(x, y);
      PixelRGBA got = ResolvePixel(png, x, y);
      if (got.r != gamma[want[0]] || got.g != gamma[want[1]] || got.b != gamma[want[2]]) {
        if (colourMismatches++ == 0)
          ADD_FAILURE() << "colour at " << x << "," << y << ": got " << int(got.r) << " " << int(got.g) << " "
                        << int(got.b) << ", want " << int(gamma[want[0]]) << " " << int(gamma[want[1]]) << " "
                        << int(gamma[want[2]]);
      }
      // Bit transparency keys on the colour as held: a pixel is see-through when it shows the key
      // colour. Every pixel libpng makes transparent must be; the reverse may differ where the
      // held colour merges distinct samples (16-bit samples keep their high byte, gamma maps
      // neighbouring levels together).
      int alpha = got.a;
      if (mode == ptmBit) alpha = platform::RGB(got.r, got.g, got.b) == key ? 0 : 255;
      int wantAlpha = want[3];
      if (mode == ptmBit && wantAlpha == 255 && alpha == 0) continue;
      if (alpha != wantAlpha && alphaMismatches++ == 0)
        ADD_FAILURE() << "alpha at " << x << "," << y << ": got " << alpha << ", want " << wantAlpha;
    }
  }
  EXPECT_EQ(colourMismatches, 0);
  EXPECT_EQ(alphaMismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Suite, ValidSuiteImage, ::testing::ValuesIn(SuiteFiles(false)),
                         [](const auto& info) { return info.param.substr(0, 8); });

// The fault each invalid suite image carries and the exception that reports it.
const std::map<std::string, const std::type_info*>& ExpectedFailures() {
  static const std::map<std::string, const std::type_info*> map = {
      {"xc1n0g08.png", &typeid(EVnPNGInvalidIHDR)},        // colour type 1
      {"xc9n2c08.png", &typeid(EVnPNGInvalidIHDR)},        // colour type 9
      {"xcrn0g04.png", &typeid(EVnPNGInvalidFileHeader)},  // line ends mangled
      {"xcsn0g01.png", &typeid(EVnPNGInvalidCRC)},         // IDAT checksum
      {"xd0n2c08.png", &typeid(EVnPNGInvalidIHDR)},        // bit depth 0
      {"xd3n2c08.png", &typeid(EVnPNGInvalidIHDR)},        // bit depth 3
      {"xd9n2c08.png", &typeid(EVnPNGInvalidIHDR)},        // bit depth 99
      {"xdtn0g01.png", &typeid(EVnPNGNoImageData)},        // no IDAT
      {"xhdn0g08.png", &typeid(EVnPNGInvalidCRC)},         // IHDR checksum
      {"xlfn0g04.png", &typeid(EVnPNGInvalidFileHeader)},  // line ends mangled
      {"xs1n0g01.png", &typeid(EVnPNGInvalidFileHeader)},  // signature bytes
      {"xs2n0g01.png", &typeid(EVnPNGInvalidFileHeader)}, {"xs4n0g01.png", &typeid(EVnPNGInvalidFileHeader)},
      {"xs7n0g01.png", &typeid(EVnPNGInvalidFileHeader)},
  };
  return map;
}

class InvalidSuiteImage : public ::testing::TestWithParam<std::string> {};

TEST_P(InvalidSuiteImage, RaisesTheMatchingException) {
  auto it = ExpectedFailures().find(GetParam());
  ASSERT_NE(it, ExpectedFailures().end()) << "no expectation for " << GetParam();
  TVnPNGObject png;
  try {
    png.LoadFromFile(Utf8ToUtf16((SuiteDir() / GetParam()).string()));
    FAIL() << "loaded without error";
  } catch (const EVnPNGError& e) {
    EXPECT_EQ(typeid(e), *it->second) << e.what();
  }
  // Whatever was read, the object stays safe to measure.
  EXPECT_TRUE(png.Empty());
  EXPECT_EQ(png.Width(), 0);
}

INSTANTIATE_TEST_SUITE_P(Suite, InvalidSuiteImage, ::testing::ValuesIn(SuiteFiles(true)),
                         [](const auto& info) { return info.param.substr(0, 8); });

TEST(PngSuite, IsPresent) { EXPECT_GT(SuiteFiles(false).size(), 100u) << SuiteDir(); }

}  // namespace
}  // namespace kestrel
