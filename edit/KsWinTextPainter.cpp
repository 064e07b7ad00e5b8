#include "edit/KsWinTextPainter.h"

#include "framework/Colors.h"
#include "platform/gdi/DcState.h"
#include "platform/text/TextMeasure.h"
#include "platform/text/TextOut.h"

namespace kestrel {

namespace pf = platform;

void TKsWinTextPainter::TextOut(TCanvas* canvas, int x, int y, unsigned options, const pf::RECT* clip,
                                std::u16string_view text) {
  if (!SelectFont(canvas)) return;
  pf::HDC dc = canvas->Handle();
  pf::SetTextColor(dc, ColorToRGB(Color()));
  pf::SetBkColor(dc, ColorToRGB(BkColor()));
  pf::ExtTextOutW(dc, x, y, options, clip, text.data(), static_cast<pf::UINT>(text.size()), nullptr);
}

int TKsWinTextPainter::TextExtentEx(std::u16string_view s, int maxExtent, std::vector<int>* extents) const {
  if (extents != nullptr) extents->assign(s.size(), 0);
  TCanvas* canvas = FontCanvas();
  if (canvas == nullptr || s.empty()) return 0;
  int fit = 0;
  pf::SIZE size{};
  const int count = static_cast<int>(s.size());
  if (pf::GetTextExtentExPointW(canvas->Handle(), s.data(), count, maxExtent < 0 ? 0 : maxExtent, &fit,
                                extents != nullptr ? extents->data() : nullptr, &size) == pf::FALSE)
    return FitByPrefixes(s, maxExtent, extents);
  return maxExtent < 0 ? 0 : fit;
}

bool TKsWinTextPainter::RunExtents(std::u16string_view s, std::vector<int>& extents) const {
  extents.resize(s.size());
  TCanvas* canvas = FontCanvas();
  if (canvas == nullptr) return false;
  if (s.empty()) return true;
  int fit = 0;
  pf::SIZE size{};
  return pf::GetTextExtentExPointW(canvas->Handle(), s.data(), static_cast<int>(s.size()), 0, &fit, extents.data(),
                                   &size) != pf::FALSE;
}

int TKsWinTextPainter::PrintableAsciiAdvance() const {
  TCanvas* canvas = FontCanvas();
  return canvas == nullptr ? 0 : pf::GetPrintableAsciiAdvance(canvas->Handle());
}

int TKsWinTextPainter::FitByPrefixes(std::u16string_view s, int maxExtent, std::vector<int>* extents) const {
  int fit = 0;
  for (size_t n = 1; n <= s.size(); ++n) {
    const int cx = TextSize(s.substr(0, n)).cx;
    if (cx > maxExtent && extents == nullptr) break;
    if (extents != nullptr) (*extents)[n - 1] = cx;
    if (cx <= maxExtent && fit == static_cast<int>(n) - 1) fit = static_cast<int>(n);
  }
  return fit;
}

pf::SIZE TKsWinTextPainter::TextSize(std::u16string_view s) const {
  TCanvas* canvas = FontCanvas();
  if (canvas == nullptr) return {0, 0};
  return canvas->TextExtent(String(s));
}

}  // namespace kestrel
