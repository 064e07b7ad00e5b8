#pragma once
// TGDIPPicture: the bytes of one encoded image file, kept exactly as loaded (never re-encoded),
// with the image they decode to. Fills own two of these (background and foreground picture).
// Bytes that do not decode are still kept and stored; such a picture draws nothing.

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Persistent.h"
#include "platform/core/WinTypes.h"
#include "platform/gdiplus/GdiPlus.h"

namespace kestrel {

class TStream;

class TGDIPPicture : public TPersistent {
  KESTREL_CLASS(TGDIPPicture)
  TGDIPPicture();
  ~TGDIPPicture() override;

  using TPersistent::Assign;
  void Assign(const TPersistent* source) override;

  bool Empty() const { return data_.empty(); }
  // Pixels of the decoded image; 0 when empty or undecodable.
  int Width() const;
  int Height() const;
  const std::vector<std::uint8_t>& Data() const { return data_; }
  // Replaces the bytes (an empty vector empties the picture) and announces the change.
  void SetData(std::vector<std::uint8_t> data);

  // Draws the image scaled into (left, top, right, bottom).
  void Draw(platform::TGPGraphics& graphics, const platform::RECT& rect) const;
  // Fills the rectangle or the path with the image repeated from the surface's origin.
  void FillTexture(platform::TGPGraphics& graphics, const platform::TGPRectF& rect) const;
  void FillTexture(platform::TGPGraphics& graphics, const platform::TGPGraphicsPath& path) const;

  void SaveToStream(TStream& stream) const;
  // Reads the rest of the stream; an empty rest leaves the picture as it is.
  void LoadFromStream(TStream& stream);

  // Raised after the bytes changed.
  TNotifyEvent OnChange;

  void DefineProperties(TFiler& filer) override;

 private:
  void Changed();

  std::vector<std::uint8_t> data_;
  std::unique_ptr<platform::TGPImage> image_;  // null when empty or undecodable
};

}  // namespace kestrel
