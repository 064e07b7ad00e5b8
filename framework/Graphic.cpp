#include "framework/Graphic.h"

#include <memory>
#include <mutex>

#include "framework/Bitmap.h"
#include "framework/Exceptions.h"
#include "framework/Filer.h"
#include "framework/MemoryStream.h"
#include "framework/Stream.h"
#include "framework/SysUtils.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TGraphic, TPersistent)
KESTREL_IMPLEMENT_CLASS(EInvalidGraphic, Exception)
KESTREL_IMPLEMENT_CLASS(EInvalidGraphicOperation, Exception)

namespace {

struct Registry {
  std::mutex mutex;
  std::vector<TGraphic::FileFormat> formats;
};

Registry& Formats() {
  // Bitmaps are always known; other classes register themselves.
  static Registry registry{{}, {{u"bmp", u"Bitmaps", &TBitmap::StaticClass()}}};
  return registry;
}

String NormalExtension(const String& extension) {
  std::u16string_view ext(extension);
  if (!ext.empty() && ext.front() == u'.') ext.remove_prefix(1);
  return LowerCase(ext);
}

}  // namespace

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed();
}

void TGraphic::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      u"Data", [this](TStream& stream) { LoadFromStream(stream); }, [this](TStream& stream) { SaveToStream(stream); },
      !Empty());
}

void TGraphic::SetModified(bool value) {
  if (value) Changed();
  else modified_ = false;
}

void TGraphic::Changed() {
  modified_ = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) const {
  // Encoded in memory first: a graphic that fails to write leaves an existing file as it was.
  TMemoryStream encoded;
  SaveToStream(encoded);
  encoded.SaveToFile(fileName);
}

void TGraphic::RegisterFileFormat(const String& extension, const String& description, TGraphicClass graphicClass) {
  if (!graphicClass || !graphicClass->InheritsFrom(TGraphic::StaticClass())) return;
  const String ext = NormalExtension(extension);
  if (ext.empty()) return;
  Registry& r = Formats();
  std::lock_guard lock(r.mutex);
  for (auto& f : r.formats) {
    if (f.extension == ext) {
      f.description = description;
      f.graphicClass = graphicClass;
      return;
    }
  }
  r.formats.push_back({ext, description, graphicClass});
}

void TGraphic::UnregisterGraphicClass(TGraphicClass graphicClass) {
  Registry& r = Formats();
  std::lock_guard lock(r.mutex);
  std::erase_if(r.formats, [&](const FileFormat& f) { return f.graphicClass == graphicClass; });
}

TGraphicClass TGraphic::ClassForExtension(const String& extension) {
  const String ext = NormalExtension(extension);
  Registry& r = Formats();
  std::lock_guard lock(r.mutex);
  for (const auto& f : r.formats)
    if (f.extension == ext) return f.graphicClass;
  return nullptr;
}

TGraphic* TGraphic::CreateGraphic(TGraphicClass graphicClass) {
  if (!graphicClass || !graphicClass->InheritsFrom(TGraphic::StaticClass()) || !graphicClass->CanCreate())
    return nullptr;
  std::unique_ptr<TObject> object(graphicClass->Create(nullptr));
  auto* graphic = dynamic_cast<TGraphic*>(object.get());
  if (graphic) object.release();
  return graphic;
}

std::vector<TGraphic::FileFormat> TGraphic::FileFormats() {
  Registry& r = Formats();
  std::lock_guard lock(r.mutex);
  return r.formats;
}

String TGraphic::GraphicFilter() {
  String filter;
  for (const auto& f : FileFormats()) {
    if (!filter.empty()) filter += u'|';
    filter += f.description + u" (*." + f.extension + u")|*." + f.extension;
  }
  return filter;
}

}  // namespace kestrel
