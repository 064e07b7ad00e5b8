// Fuzzes the editing operations and the image-list stream with hostile inputs. The first bytes
// choose the operations and their arguments; the rest is a PNG file (or a list stream). Every
// input must end in success or a codec exception, and anything written must read back.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/MemoryStream.h"
#include "imaging/PngImageList.h"
#include "imaging/PngObject.h"

namespace kestrel::fuzz {

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  int Take() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
};

void Edit(TVnPNGObject& png, Input& in) {
  for (int step = 0; step < 4; ++step) {
    const int op = in.Take() % 9;
    const int a = in.Take() - 64, b = in.Take() - 64;
    try {
      switch (op) {
        case 0: png.CreateAlpha(); break;
        case 1: png.RemoveTransparency(); break;
        case 2: png.Resize(a, b); break;
        case 3: {
          TPoint center;
          png.Rotate(a * 3.0, TPoint{a, b}, center);
          break;
        }
        case 4: {
          TVnPNGObject copy;
          copy.Assign(&png);
          png.CopyRect(TRect{a, b, a + 5, b + 5}, copy, TRect{b, a, b + a, a + b});
          break;
        }
        case 5: {
          TVnPNGObject mask;
          mask.CreateBlank(COLOR_RGBALPHA, 8, 1 + (a & 7), 1 + (b & 7));
          png.MaskRect(TRect{a, b, a, b}, mask);
          break;
        }
        case 6: png.SetTransparentColor(static_cast<std::uint32_t>(a * 65793)); break;
        case 7: png.SetPixelColor(a, b, static_cast<std::uint32_t>(a * 131 + b)); break;
        default: {
          TFilters filters;
          filters.bits = static_cast<std::uint8_t>(a & 0x1F);
          png.SetFilters(filters);
          break;
        }
      }
    } catch (const EVnPNGError&) {
    }
  }
}

// Whether a non-empty image saves and reads back at its size (an empty one has nothing to save).
bool SavesAndReadsBack(const TVnPNGObject& png) {
  if (png.Empty()) return true;
  const std::vector<std::uint8_t> saved = png.SaveToBytes();
  TVnPNGObject back;
  back.LoadFromMemory(saved.data(), saved.size());
  return back.Width() == png.Width() && back.Height() == png.Height();
}

// False when something written did not read back as it was.
bool EditInputHolds(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  const bool asList = in.Take() & 1;
  if (asList) {
    TMemoryStream stream;
    stream.WriteBuffer(in.data, in.size);
    stream.SetPosition(0);
    TVnPNGImageList list(nullptr);
    try {
      list.ReadData(stream);
    } catch (const Exception&) {
      return true;
    }
    TMemoryStream out;
    list.WriteData(out);
    out.SetPosition(0);
    TVnPNGImageList back(nullptr);
    back.ReadData(out);
    return back.Count() == list.Count();
  }
  TVnPNGObject png;
  try {
    png.LoadFromMemory(in.data + 12 < in.data + in.size ? in.data + 12 : in.data, in.size > 12 ? in.size - 12 : 0);
  } catch (const EVnPNGError&) {
    return true;
  }
  Input ops{in.data, in.size < 12 ? in.size : 12};
  Edit(png, ops);
  return SavesAndReadsBack(png);
}

}  // namespace kestrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!kestrel::fuzz::EditInputHolds(data, size)) __builtin_trap();
  return 0;
}
