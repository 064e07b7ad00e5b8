#pragma once
// TGraphic: the abstract image (bitmap, PNG, …) that canvases draw and pictures hold, with the
// registry of graphic classes by file extension that TPicture uses to load files.

#include <vector>

#include "framework/Canvas.h"
#include "framework/Exceptions.h"
#include "framework/Persistent.h"

namespace kestrel {

class TStream;
class TGraphic;

// Raised for image data a graphic class cannot read.
KESTREL_EXCEPTION(EInvalidGraphic, Exception)
// Raised by TPicture for a file extension no graphic class is registered for.
KESTREL_EXCEPTION(EInvalidGraphicOperation, Exception)

using TGraphicClass = const TMetaClass*;

class TGraphic : public TPersistent {
  KESTREL_CLASS(TGraphic)
  TGraphic() = default;
  ~TGraphic() override = default;

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  void SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
  }
  // Transparent graphics draw only their opaque pixels.
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  bool Modified() const { return modified_; }
  void SetModified(bool value);

  // Paints the graphic scaled into `rect` of `canvas`.
  virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;

  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  // A stored form keeps a graphic that is not empty as its stream ("Data").
  void DefineProperties(TFiler& filer) override;
  // EFOpenError/EFCreateError from the file stream when the file cannot be used. Saving
  // touches the file only once the graphic has been written completely.
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName) const;

  TNotifyEvent OnChange;

  // ---- the registry of file formats ----
  // `extension` without the dot, compared without case; a later registration of the same
  // extension replaces the earlier one.
  static void RegisterFileFormat(const String& extension, const String& description, TGraphicClass graphicClass);
  static void UnregisterGraphicClass(TGraphicClass graphicClass);
  // Null when no class is registered for the extension (with or without its dot).
  static TGraphicClass ClassForExtension(const String& extension);
  // Makes an empty graphic of a registered (or any concrete TGraphic) class.
  static TGraphic* CreateGraphic(TGraphicClass graphicClass);
  struct FileFormat {
    String extension;
    String description;
    TGraphicClass graphicClass;
  };
  static std::vector<FileFormat> FileFormats();
  // "Description (*.ext)|*.ext|…" for open dialogs, all registered formats.
  static String GraphicFilter();

 protected:
  virtual void Changed();

 private:
  bool transparent_ = false;
  bool modified_ = false;
};

}  // namespace kestrel
