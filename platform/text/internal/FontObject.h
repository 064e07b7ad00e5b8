#pragma once
// The logical font as a GDI object, and the realised font a DC draws with.

#include <memory>
#include <mutex>

#include "platform/gdi/internal/GdiObject.h"
#include "platform/text/Font.h"

namespace kestrel::platform {

class FontInstance;

// A logical font. Immutable once created; its realisation (face, metrics, advances) is made on
// first use and shared by every DC the font is selected into.
class Font : public GdiObject {
 public:
  static constexpr GdiObjectKind kKind = GdiObjectKind::Font;

  explicit Font(const LOGFONTW& logFont);
  ~Font() override;

  const LOGFONTW& LogFont() const { return logFont_; }
  int GetObjectData(int size, void* buffer) const override;
  // The realised font; never null (an unusable face falls back to the default face).
  std::shared_ptr<FontInstance> Instance() const;

 private:
  LOGFONTW logFont_;
  mutable std::once_flag realised_;
  mutable std::shared_ptr<FontInstance> instance_;
};

// The font a DC draws with: its selected font, or SYSTEM_FONT when none (or a stale one) is
// selected. Never null.
std::shared_ptr<FontInstance> FontInstanceOf(HGDIOBJ selectedFont);

}  // namespace kestrel::platform
