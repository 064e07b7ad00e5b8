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

std::vector<std::int32_t> TKsLineWrapper::Wrap(std::u16string_view s) const {
  std::vector<std::int32_t> starts;
  const platform::RECT rect = host_.EditRect();
  const int limit = rect.right - host_.RightMargin();
  const int room = limit - rect.left - host_.LeftMargin();
  size_t offset = 0;
  for (;;) {
    const std::u16string_view rest = s.substr(offset);
    // The line is cut once its shown width W reaches Limit - 2, i.e. unless all of it fits
    // into Limit - 3 pixels.
    if (rest.empty() || measure_.FitPrefix(rest, limit - 3, true) == static_cast<int>(rest.size())) break;
    const int head = CutString(rest, measure_.FitPrefix(rest, room, true));
    if (head <= 0) break;
    offset += static_cast<size_t>(head);
    starts.push_back(static_cast<std::int32_t>(offset));
  }
  return starts;
}

}  // namespace kestrel
