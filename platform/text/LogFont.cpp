#include <algorithm>

#include "platform/text/Font.h"

namespace kestrel::platform {

LOGFONTW MakeLogFont(const String& face, LONG height, LONG weight, bool italic, bool underline, bool strikeOut) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic ? 1 : 0;
  lf.lfUnderline = underline ? 1 : 0;
  lf.lfStrikeOut = strikeOut ? 1 : 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.begin(), n, lf.lfFaceName);
  return lf;
}

String FaceNameOf(const LOGFONTW& logFont) {
  const WCHAR* name = logFont.lfFaceName;
  std::size_t n = 0;
  while (n < LF_FACESIZE && name[n]) ++n;
  return String(name, n);
}

}  // namespace kestrel::platform
