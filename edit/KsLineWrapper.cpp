#include "edit/KsLineWrapper.h"

#include <algorithm>

namespace kestrel {

int TKsLineWrapper::CutString(std::u16string_view s, int len) {
  const int size = static_cast<int>(s.size());
  len = std::min(len, size);
  if (len <= 0) return 0;
  if (len == size) {
    // At least one character always leaves the line; a trailing pair leaves whole.
    len -= (len >= 2 && IsLowSurrogate(s[len - 1]) && IsHighSurrogate(s[len - 2])) ? 2 : 1;
    if (len <= 0) return 0;  // cutting here would leave an empty line and never end
  }
  const auto head = s.substr(0, static_cast<size_t>(len));
  if (const auto cr = head.find(u'\r'); cr != std::u16string_view::npos) return static_cast<int>(cr) + 1;
  for (int k = len - 1; k >= 1; --k)
    if (s[k] == u' ' || s[k] == u'\t') return k + 1;
  return SnapToCharStart(s, len);
}

int TKsLineWrapper::CutStringFromEnd(std::u16string_view s, int len) {
  const int size = static_cast<int>(s.size());
  len = std::min(len, size);
  if (len <= 0) return 0;
  if (len == size) {
    // At least one character always goes to the earlier line; a leading pair goes whole.
    len -= (len >= 2 && IsHighSurrogate(s[0]) && IsLowSurrogate(s[1])) ? 2 : 1;
    if (len <= 0) return 0;
  }
  if (const auto cr = s.rfind(u'\r'); cr != std::u16string_view::npos) {
    const int after = size - static_cast<int>(cr) - 1;
    if (after > 0 && after <= len) return static_cast<int>(cr) + 1;
  }
  // A blank just before the last Len characters lets the line keep all of them.
  for (int k = size - len - 1; k < size - 1; ++k)
    if (s[k] == u' ' || s[k] == u'\t') return k + 1;
  const int cut = size - len;
  // Cutting between the halves of a pair would start the line with half of it: leave it behind.
  return cut < size - 1 && IsHighSurrogate(s[cut - 1]) && IsLowSurrogate(s[cut]) ? cut + 1 : cut;
}

bool TKsLineWrapper::FitsWhole(std::u16string_view s, int limit) const {
  // The line is cut once its shown width W reaches Limit - 2, i.e. unless all of it fits into
  // Limit - 3 pixels.
  return s.empty() || measure_.FitPrefix(s, limit - 3, true) == static_cast<int>(s.size());
}

std::vector<std::int32_t> TKsLineWrapper::WrapFromEnd(std::u16string_view s, int limit, int room) const {
  std::vector<std::int32_t> starts;
  size_t end = s.size();
  for (;;) {
    const std::u16string_view rest = s.substr(0, end);
    if (FitsWhole(rest, limit)) break;
    const int head = CutStringFromEnd(rest, measure_.FitLeft(room, rest, static_cast<int>(rest.size())));
    if (head <= 0) break;
    end = static_cast<size_t>(head);
    starts.push_back(head);
  }
  std::reverse(starts.begin(), starts.end());
  return starts;
}

int TKsLineWrapper::FitFrom(std::u16string_view s, size_t offset, int width) const {
  if (offset >= s.size() || width <= 0) return 0;
  // Leading units until the first whose end lies beyond Width, as one extent query counts.
  const long long base = offset > 0 ? extents_[offset - 1] : 0;
  size_t end = offset;
  while (end < s.size() && extents_[end] - base <= width) ++end;
  return SnapToCharStart(s.substr(offset), static_cast<int>(end - offset));
}

namespace {

// The line starts Wrap finds, with Fit(offset, width) counting the units from Offset on that fit
// Width as FitPrefix would measure them.
template <typename Fit>
std::vector<std::int32_t> CutByFit(std::u16string_view s, int limit, int room, const Fit& fit) {
  std::vector<std::int32_t> starts;
  size_t offset = 0;
  while (offset < s.size()) {
    if (fit(offset, limit - 3) == static_cast<int>(s.size() - offset)) break;
    const int head = TKsLineWrapper::CutString(s.substr(offset), fit(offset, room));
    if (head <= 0) break;
    offset += static_cast<size_t>(head);
    starts.push_back(static_cast<std::int32_t>(offset));
  }
  return starts;
}

}  // namespace

std::vector<std::int32_t> TKsLineWrapper::WrapByRunExtents(std::u16string_view s, int limit, int room) const {
  return CutByFit(s, limit, room, [&](size_t offset, int width) { return FitFrom(s, offset, width); });
}

std::vector<std::int32_t> TKsLineWrapper::WrapByUniformAdvance(std::u16string_view s, int advance, int limit,
                                                               int room) {
  // What is left from Offset on, as far as Width holds whole advances (no pairs to snap).
  return CutByFit(s, limit, room, [&](size_t offset, int width) {
    return width <= 0 ? 0 : static_cast<int>(std::min<size_t>(s.size() - offset, static_cast<size_t>(width / advance)));
  });
}

void TKsLineWrapper::EndBulk() {
  if (bulk_ > 0 && --bulk_ == 0) bulkAsciiAdvance_ = -1;
}

int TKsLineWrapper::AsciiAdvance() const {
  if (bulk_ == 0) return measure_.PrintableAsciiAdvance();
  if (bulkAsciiAdvance_ < 0) bulkAsciiAdvance_ = measure_.PrintableAsciiAdvance();
  return bulkAsciiAdvance_;
}

std::vector<std::int32_t> TKsLineWrapper::Wrap(std::u16string_view s) const {
  const platform::RECT rect = host_.EditRect();
  const int limit = rect.right - host_.RightMargin();
  const int room = limit - rect.left - host_.LeftMargin();
  if (host_.RightAlignedText()) return WrapFromEnd(s, limit, room);
  if (s.empty()) return {};
  if (TKsTextMeasure::IsPrintableAscii(s))
    if (const int advance = AsciiAdvance(); advance > 0) return WrapByUniformAdvance(s, advance, limit, room);
  if (measure_.ShownRunExtents(s, extents_)) return WrapByRunExtents(s, limit, room);
  // Every line measured by itself.
  return CutByFit(s, limit, room,
                  [&](size_t offset, int width) { return measure_.FitPrefix(s.substr(offset), width, true); });
}

}  // namespace kestrel
