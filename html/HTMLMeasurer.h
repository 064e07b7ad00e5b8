#pragma once
// The renderer's measuring device: a memory device context compatible with the screen (or with
// the device set through SetDC) and a cache of the fonts items ask for, with their metrics.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "platform/core/Unicode.h"
#include "platform/core/WinTypes.h"
#include "platform/text/TextTypes.h"

namespace kestrel {

// One realised item font, measured on the measurer's device.
class THTMLFont {
 public:
  THTMLFont(platform::HFONT font, platform::HDC device, const platform::TEXTMETRICW& metrics);
  ~THTMLFont();
  THTMLFont(const THTMLFont&) = delete;
  THTMLFont& operator=(const THTMLFont&) = delete;

  platform::HFONT Handle() const { return font_; }
  const platform::TEXTMETRICW& Metrics() const { return metrics_; }
  // Sum of the advances, as the device measures and paints a single line.
  int TextWidth(std::u16string_view text) const;

 private:
  // The device's text extent of `text` in this font (selected first when another one is).
  int DeviceWidth(std::u16string_view text) const;

  platform::HFONT font_;
  platform::HDC device_;
  platform::TEXTMETRICW metrics_;
  // Advances of the Latin-1 characters (-1 = not asked yet): the wrap check measures after every
  // added character, and advances add up exactly (no kerning).
  mutable std::array<std::int16_t, 256> latin1_;
};

class THTMLMeasurer {
 public:
  THTMLMeasurer();
  ~THTMLMeasurer();
  THTMLMeasurer(const THTMLMeasurer&) = delete;
  THTMLMeasurer& operator=(const THTMLMeasurer&) = delete;

  // Replaces the measuring device by one compatible with `dc`; null is ignored.
  void SetDC(platform::HDC dc);
  platform::HDC DC() const { return dc_; }
  bool Valid() const { return dc_ != nullptr; }

  // The font for an item's face, height, style bits and character set (cached).
  const THTMLFont& Font(const String& face, int height, unsigned style, unsigned charset);
  int FontCount() const { return static_cast<int>(fonts_.size()); }
  // Forgets the cached fonts when there are more than `limit`, so that a long-lived renderer fed
  // ever new sizes and faces does not grow without bound. Only between preparations.
  void LimitFonts(size_t limit);

 private:
  void CreateDevice(platform::HDC compatible);
  void ReleaseDevice();

  platform::HDC dc_ = nullptr;
  platform::HBITMAP bitmap_ = nullptr;
  platform::HGDIOBJ savedBitmap_ = nullptr;
  platform::HGDIOBJ savedFont_ = nullptr;
  std::unordered_map<String, std::unique_ptr<THTMLFont>> fonts_;
};

}  // namespace kestrel
