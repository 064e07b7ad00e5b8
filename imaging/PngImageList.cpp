#include "imaging/PngImageList.h"

#include <algorithm>
#include <cmath>

#include "framework/Bitmap.h"
#include "framework/Colors.h"
#include "framework/Filer.h"
#include "framework/MemoryStream.h"
#include "imaging/internal/PngChunkWriter.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

namespace {

constexpr const char* kLoadFailed = "Failed to load KsImageList";

// An empty image has no PNG file; it is stored as the signature followed by the end chunk alone.
const std::vector<std::uint8_t>& EmptyImageBytes() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> out;
    PngChunkWriter writer(out);
    writer.Signature();
    writer.Chunk("IEND", nullptr, 0);
    return out;
  }();
  return bytes;
}

// True (and past it) when the stream holds the stored form of an empty image at its position;
// otherwise the position is left where it was.
bool SkipEmptyImage(TStream& stream) {
  const std::vector<std::uint8_t>& empty = EmptyImageBytes();
  const std::int64_t start = stream.Position();
  std::vector<std::uint8_t> head(empty.size());
  if (stream.Read(head.data(), head.size()) == head.size() && head == empty) return true;
  stream.SetPosition(start);
  return false;
}

}  // namespace

KESTREL_IMPLEMENT_CLASS(TVnPNGImageList, TCustomImageList)

TVnPNGImageList::TVnPNGImageList(TComponent* owner) : TCustomImageList(owner) {}

TVnPNGImageList::~TVnPNGImageList() = default;

void TVnPNGImageList::SetSize(int width, int height) {
  const bool changed = std::max(width, 1) != Width() || std::max(height, 1) != Height();
  TCustomImageList::SetSize(width, height);
  if (changed) fPngList.clear();
}

std::unique_ptr<TBitmap> TVnPNGImageList::ListCopy(const TVnPNGObject& image) const {
  auto bitmap = std::make_unique<TBitmap>();
  image.AssignTo(bitmap.get());
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(Width(), Height());
  return bitmap;
}

int TVnPNGImageList::AddPng(std::unique_ptr<TVnPNGObject> image) {
  if (!image) return -1;
  auto copy = ListCopy(*image);
  TCustomImageList::Add(copy.get(), nullptr);
  fPngList.push_back(std::move(image));
  Change();
  return Count() - 1;
}

std::unique_ptr<TVnPNGObject> TVnPNGImageList::MakePng(TBitmap* image, TBitmap* mask) const {
  auto png = std::make_unique<TVnPNGObject>();
  png->Assign(image);
  if (!mask || png->Empty()) return png;
  png->CreateAlpha();
  TVnPNGChunkIHDR& header = *png->Header();
  for (int y = 0; y < png->Height() && y < mask->Height(); ++y) {
    std::uint8_t* alpha = header.AlphaScanline(static_cast<std::uint32_t>(y));
    const std::uint8_t* row = mask->ScanLine(y);
    for (int x = 0; alpha && x < png->Width() && x < mask->Width(); ++x) alpha[x] = row[4 * x + 2];
  }
  return png;
}

std::unique_ptr<TVnPNGObject> TVnPNGImageList::MakeMaskedPng(TBitmap* image, TColor maskColor) const {
  auto png = std::make_unique<TVnPNGObject>();
  png->Assign(image);
  if (png->Empty()) return png;
  const platform::COLORREF key = ColorToRGB(maskColor);
  if (png->Header()->ColorType() == COLOR_PALETTE) {
    png->SetTransparentColor(key);
    return png;
  }
  png->CreateAlpha();
  TVnPNGChunkIHDR& header = *png->Header();
  for (int y = 0; y < png->Height(); ++y) {
    std::uint8_t* alpha = header.AlphaScanline(static_cast<std::uint32_t>(y));
    for (int x = 0; x < png->Width(); ++x) alpha[x] = png->GetPixelColor(x, y) == key ? 0 : 255;
  }
  return png;
}

int TVnPNGImageList::Add(TBitmap* image, TBitmap* mask) { return image ? AddPng(MakePng(image, mask)) : -1; }

int TVnPNGImageList::AddMasked(TBitmap* image, TColor maskColor) {
  return image ? AddPng(MakeMaskedPng(image, maskColor)) : -1;
}

int TVnPNGImageList::AddImage(TCustomImageList* value, int index) {
  if (!value) return -1;
  const int before = Count();
  if (auto* pngList = dynamic_cast<TVnPNGImageList*>(value)) {
    auto png = std::make_unique<TVnPNGObject>();
    if (!pngList->GetPNG(index, png.get())) return -1;
    AddPng(std::move(png));
  } else {
    TBitmap bitmap;
    if (!value->GetBitmap(index, &bitmap)) return -1;
    Add(&bitmap, nullptr);
  }
  return before;
}

void TVnPNGImageList::Insert(int index, TBitmap* image, TBitmap* mask) {
  if (!image || index < 0 || index > Count()) return;
  AddPng(MakePng(image, mask));
  Move(Count() - 1, index);
}

void TVnPNGImageList::InsertMasked(int index, TBitmap* image, TColor maskColor) {
  if (!image || index < 0 || index > Count()) return;
  AddPng(MakeMaskedPng(image, maskColor));
  Move(Count() - 1, index);
}

void TVnPNGImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
  if (image && ValidIndex(index)) ReplacePng(index, *MakePng(image, mask));
}

void TVnPNGImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor) {
  if (image && ValidIndex(index)) ReplacePng(index, *MakeMaskedPng(image, maskColor));
}

void TVnPNGImageList::ReplacePng(int index, const TVnPNGObject& replacement) {
  // The image object stays: pointers callers got from Png(index) see the new picture.
  TVnPNGObject& kept = *fPngList[static_cast<std::size_t>(index)];
  kept.Assign(&replacement);
  TCustomImageList::Replace(index, ListCopy(kept).get(), nullptr);
}

void TVnPNGImageList::Delete(int index) {
  if (!ValidIndex(index)) return;
  fPngList.erase(fPngList.begin() + index);
  TCustomImageList::Delete(index);
}

void TVnPNGImageList::Clear() {
  fPngList.clear();
  TCustomImageList::Clear();
}

void TVnPNGImageList::Move(int curIndex, int newIndex) {
  if (!ValidIndex(curIndex) || !ValidIndex(newIndex) || curIndex == newIndex) return;
  auto image = std::move(fPngList[static_cast<std::size_t>(curIndex)]);
  fPngList.erase(fPngList.begin() + curIndex);
  fPngList.insert(fPngList.begin() + newIndex, std::move(image));
  TCustomImageList::Move(curIndex, newIndex);
}

int TVnPNGImageList::IndexOf(const TVnPNGObject* image) const {
  for (int i = 0; i < Count(); ++i)
    if (fPngList[static_cast<std::size_t>(i)].get() == image) return i;
  return -1;
}

TVnPNGObject* TVnPNGImageList::Png(int index) const {
  return ValidIndex(index) ? fPngList[static_cast<std::size_t>(index)].get() : nullptr;
}

bool TVnPNGImageList::GetBitmap(int index, TBitmap* image) const {
  if (!image || !ValidIndex(index)) return false;
  fPngList[static_cast<std::size_t>(index)]->AssignTo(image);
  return true;
}

bool TVnPNGImageList::GetPNG(int index, TVnPNGObject* image) const {
  if (!image || !ValidIndex(index)) return false;
  image->Assign(fPngList[static_cast<std::size_t>(index)].get());
  return true;
}

AnsiString TVnPNGImageList::GetPngFileNameByIndex(int index) const {
  if (!ValidIndex(index)) return {};
  const auto* text = fPngList[static_cast<std::size_t>(index)]->Chunks().ItemFromClass<TVnPNGChunkzTXT>();
  return text ? text->Text() : AnsiString();
}

void TVnPNGImageList::Draw(TCanvas* canvas, int x, int y, int index, bool) const {
  if (!canvas || !ValidIndex(index)) return;
  fPngList[static_cast<std::size_t>(index)]->Draw(canvas, TRect{x, y, x + Width(), y + Height()});
}

void TVnPNGImageList::DrawExt(TCanvas* canvas, const TRect& rect, TRect& result, int index, int flags) const {
  const int w = Width(), h = Height();
  const int aw = rect.right - rect.left, ah = rect.bottom - rect.top;
  if (!canvas || !ValidIndex(index) || aw <= 0 || ah <= 0 || w <= 0 || h <= 0) return;
  TVnPNGObject& png = *fPngList[static_cast<std::size_t>(index)];
  TRect box{rect.left, rect.top, rect.left + w, rect.top + h};
  if (flags & kPngDrawCenter) {
    const int left = rect.left + (aw - w) / 2, top = rect.top + (ah - h) / 2;
    box = TRect{left, top, left + w, top + h};
  }
  if (flags & kPngDrawStretch) {
    const int keep = flags & (kPngDrawKeepWidth | kPngDrawKeepHeight);
    box = rect;
    if (keep == (kPngDrawKeepWidth | kPngDrawKeepHeight)) {
      const double s = std::min(static_cast<double>(aw) / w, static_cast<double>(ah) / h);
      box.right = rect.left + static_cast<int>(w * s);
      box.bottom = rect.top + static_cast<int>(h * s);
    } else if (keep == kPngDrawKeepHeight) {
      box.bottom = rect.top + static_cast<int>(std::nearbyint(static_cast<double>(aw) / w * h));
    } else if (keep == kPngDrawKeepWidth) {
      box.right = rect.left + static_cast<int>(std::nearbyint(static_cast<double>(ah) / h * w));
    }
  }
  if (flags & kPngDrawTile) {
    result = rect;
    platform::HDC dc = canvas->Handle();
    const int saved = platform::SaveDC(dc);
    platform::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    for (int top = rect.top; top < rect.bottom; top += h)
      for (int left = rect.left; left < rect.right; left += w) png.Draw(canvas, TRect{left, top, left + w, top + h});
    platform::RestoreDC(dc, saved);
    return;
  }
  result = (box.right > box.left && box.bottom > box.top) ? box : rect;
  png.Draw(canvas, box);
}

void TVnPNGImageList::WriteData(TStream& stream) const {
  TMemoryStream block;
  const std::int32_t header[2] = {kStreamMarker, static_cast<std::int32_t>(Count())};
  block.WriteBuffer(header, sizeof header);
  for (const auto& png : fPngList) {
    if (png->Empty()) block.WriteBuffer(EmptyImageBytes().data(), EmptyImageBytes().size());
    else png->SaveToStream(block);
  }
  stream.WriteBuffer(block.Memory(), static_cast<std::size_t>(block.Size()));
}

void TVnPNGImageList::ReadData(TStream& stream) {
  std::int32_t marker = 0, count = 0;
  if (stream.Read(&marker, sizeof marker) != sizeof marker || marker != kStreamMarker ||
      stream.Read(&count, sizeof count) != sizeof count || count < 0)
    throw EReadError(std::string_view(kLoadFailed));
  Clear();
  for (std::int32_t i = 0; i < count; ++i) {
    auto png = std::make_unique<TVnPNGObject>();
    if (!SkipEmptyImage(stream)) png->LoadFromStream(stream);
    AddPng(std::move(png));
  }
  if (Count() != count) throw EReadError(std::string_view(kLoadFailed));
}

void TVnPNGImageList::DefineProperties(TFiler& filer) {
  TCustomImageList::DefineProperties(filer);
  filer.DefineBinaryProperty(
      u"Bitmap", [this](TStream& stream) { ReadData(stream); }, [this](TStream& stream) { WriteData(stream); },
      Count() > 0);
}

}  // namespace kestrel
