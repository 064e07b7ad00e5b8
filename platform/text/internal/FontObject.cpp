#include "platform/text/internal/FontObject.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/RecentGdiObjects.h"
#include "platform/text/internal/FontInstance.h"

namespace kestrel::platform {

Font::Font(const LOGFONTW& logFont) : GdiObject(GdiObjectKind::Font), logFont_(logFont) {
  // The face name is always terminated, whatever the caller passed.
  logFont_.lfFaceName[LF_FACESIZE - 1] = 0;
}

Font::~Font() = default;

int Font::GetObjectData(int size, void* buffer) const {
  if (!buffer) return static_cast<int>(sizeof(LOGFONTW));
  if (size <= 0) return 0;
  // Like GDI, a short buffer receives the leading part of the LOGFONTW.
  int copied = std::min(size, static_cast<int>(sizeof(LOGFONTW)));
  std::memcpy(buffer, &logFont_, static_cast<std::size_t>(copied));
  return copied;
}

std::shared_ptr<FontInstance> Font::Instance() const {
  std::call_once(realised_, [this] { instance_ = FontInstance::Create(logFont_); });
  return instance_;
}

std::shared_ptr<FontInstance> FontInstanceOf(HGDIOBJ selectedFont) {
  if (selectedFont) {
    static thread_local RecentGdiObjects<Font> recent;
    if (auto font = recent.Find(selectedFont)) return font->Instance();
  }
  static const std::shared_ptr<Font> system = LookupGdi<Font>(GetStockFont(SYSTEM_FONT));
  if (system) return system->Instance();
  static const std::shared_ptr<FontInstance> fallback = FontInstance::Create(MakeLogFont(u"System", 16, FW_BOLD));
  return fallback;
}

}  // namespace kestrel::platform
