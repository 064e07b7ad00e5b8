#pragma once
// TPicture: holds one graphic of any registered class; LoadFromFile picks the class by the
// file's extension.

#include <memory>

#include "framework/Graphic.h"

namespace kestrel {

class TBitmap;

class TPicture : public TPersistent {
  KESTREL_CLASS(TPicture)
  TPicture();
  ~TPicture() override;

  void Assign(const TPersistent* source) override;
  using TPersistent::Assign;

  // The held graphic (null when empty). Setting stores a copy of the same class.
  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(const TGraphic* value);
  // The graphic as a bitmap, replacing any other kind with an empty bitmap.
  TBitmap* Bitmap();

  int Width() const;
  int Height() const;

  // EInvalidGraphicOperation "Unknown picture file extension (%s)" (the extension with its dot) for unregistered
  // extensions; the graphic class's errors for bad data (the old graphic is kept then).
  void LoadFromFile(const String& fileName);
  // Nothing happens for an empty picture.
  void SaveToFile(const String& fileName) const;

  TNotifyEvent OnChange;

 private:
  void Changed(TObject* sender);
  void Adopt(std::unique_ptr<TGraphic> graphic);
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace kestrel
