#include "edit/KsEditHost.h"

namespace kestrel {

int IKsEditHost::TextFit(std::u16string_view s, int width) const {
  // Ever longer prefixes until one is too wide; extents grow with the prefix, so the first
  // prefix that is too wide ends the count.
  int fit = 0;
  for (size_t n = 1; n <= s.size(); ++n) {
    if (TextExtent(s.substr(0, n)).cx > width) break;
    fit = static_cast<int>(n);
  }
  return fit;
}

}  // namespace kestrel
