#include "html/HTMLMeasurer.h"

#include <algorithm>

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/StockObjects.h"
#include "platform/text/Font.h"
#include "platform/text/TextMeasure.h"

namespace kestrel {

using namespace platform;

THTMLFont::THTMLFont(HFONT font, HDC device, const TEXTMETRICW& metrics)
    : font_(font), device_(device), metrics_(metrics) {
  latin1_.fill(-1);
}

THTMLFont::~THTMLFont() {
  if (font_) DeleteObject(font_);
}

int THTMLFont::TextWidth(std::u16string_view text) const {
  if (!device_ || text.empty()) return 0;
  int sum = 0;
  for (char16_t unit : text) {
    if (unit >= latin1_.size()) return DeviceWidth(text);
    std::int16_t& advance = latin1_[unit];
    if (advance < 0)
      advance = static_cast<std::int16_t>(std::clamp(DeviceWidth(std::u16string_view(&unit, 1)), 0, 0x7FFF));
    sum += advance;
  }
  return sum;
}

int THTMLFont::DeviceWidth(std::u16string_view text) const {
  // A font that could not be made measures in the system font, as the device draws it.
  HGDIOBJ wanted = font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT);
  if (GetCurrentObject(device_, OBJ_FONT) != wanted) SelectObject(device_, wanted);
  SIZE size{};
  if (!GetTextExtentPoint32W(device_, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

THTMLMeasurer::THTMLMeasurer() { CreateDevice(nullptr); }

THTMLMeasurer::~THTMLMeasurer() {
  ReleaseDevice();
  fonts_.clear();
}

void THTMLMeasurer::SetDC(HDC dc) {
  if (!dc) return;
  ReleaseDevice();
  // Fonts were realised for the old device; the new one may measure differently.
  fonts_.clear();
  CreateDevice(dc);
}

void THTMLMeasurer::CreateDevice(HDC compatible) {
  dc_ = CreateCompatibleDC(compatible);
  if (!dc_) return;
  bitmap_ = CreateCompatibleBitmap(dc_, 1, 1);
  if (bitmap_) savedBitmap_ = SelectObject(dc_, bitmap_);
}

void THTMLMeasurer::ReleaseDevice() {
  if (!dc_) return;
  if (savedFont_) SelectObject(dc_, savedFont_);
  if (savedBitmap_) SelectObject(dc_, savedBitmap_);
  DeleteDC(dc_);
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  savedBitmap_ = nullptr;
  savedFont_ = nullptr;
}

void THTMLMeasurer::LimitFonts(size_t limit) {
  if (fonts_.size() <= limit) return;
  // The device must not hold a font that is about to go.
  if (dc_ && savedFont_) {
    SelectObject(dc_, savedFont_);
    savedFont_ = nullptr;
  }
  fonts_.clear();
}

const THTMLFont& THTMLMeasurer::Font(const String& face, int height, unsigned style, unsigned charset) {
  String key = face;
  key.push_back(u'\0');
  const auto bits = static_cast<std::uint32_t>(height);
  key.push_back(static_cast<char16_t>(bits & 0xFFFF));
  key.push_back(static_cast<char16_t>(bits >> 16));
  key.push_back(static_cast<char16_t>(style & 0xFF));
  key.push_back(static_cast<char16_t>(charset & 0xFF));
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return *found->second;

  LOGFONTW lf = MakeLogFont(face, height, (style & 1) ? FW_BOLD : FW_NORMAL, (style & 2) != 0, (style & 4) != 0,
                            (style & 8) != 0);
  lf.lfCharSet = static_cast<BYTE>(charset);
  HFONT font = CreateFontIndirectW(&lf);
  TEXTMETRICW metrics{};
  if (dc_ && font) {
    HGDIOBJ previous = SelectObject(dc_, font);
    if (!savedFont_) savedFont_ = previous;
    GetTextMetricsW(dc_, &metrics);
  }
  auto entry = std::make_unique<THTMLFont>(font, dc_, metrics);
  const THTMLFont& result = *entry;
  fonts_.emplace(std::move(key), std::move(entry));
  return result;
}

}  // namespace kestrel
