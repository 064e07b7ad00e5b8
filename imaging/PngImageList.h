#pragma once
// An image list whose images are PNG images with full alpha. Each image is kept as a PNG object,
// which is drawn and streamed, and as a bitmap copy of the list's size in the underlying list, so
// controls that know only bitmaps still see the same images in the same order.

#include <memory>
#include <vector>

#include "framework/ImageList.h"
#include "imaging/PngObject.h"

namespace kestrel {

class TFiler;

// DrawExt placement flags.
constexpr int kPngDrawCenter = 0x08;
constexpr int kPngDrawStretch = 0x10;
constexpr int kPngDrawTile = 0x20;
constexpr int kPngDrawKeepWidth = 0x200;
constexpr int kPngDrawKeepHeight = 0x400;

class TVnPNGImageList : public TCustomImageList {
  KESTREL_CLASS(TVnPNGImageList)
  explicit TVnPNGImageList(TComponent* owner);
  ~TVnPNGImageList() override;

  // A new size clears the list, as for any image list.
  void SetSize(int width, int height) override;
  int Count() const { return static_cast<int>(fPngList.size()); }

  // Takes ownership of `image`; its bitmap copy is cropped or extended (not scaled) to the list's
  // size. Returns the new index, -1 for no image.
  int AddPng(std::unique_ptr<TVnPNGObject> image);
  // A PNG image of `image`; with a mask, each pixel's alpha is the mask's red channel there
  // (white opaque, black transparent; pixels outside a smaller mask stay opaque).
  int Add(TBitmap* image, TBitmap* mask);
  // Pixels of `maskColor` become transparent (palette images through their transparent colour).
  int AddMasked(TBitmap* image, TColor maskColor);
  // Image `index` of another list: as a PNG image from a PNG list, else as a bitmap. Returns the
  // count before the call, -1 when nothing was added.
  int AddImage(TCustomImageList* value, int index);
  void Insert(int index, TBitmap* image, TBitmap* mask);
  void InsertMasked(int index, TBitmap* image, TColor maskColor);
  void Replace(int index, TBitmap* image, TBitmap* mask);
  void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
  void Delete(int index);
  void Clear();
  // Moves the PNG image and its bitmap copy.
  void Move(int curIndex, int newIndex);
  int IndexOf(const TVnPNGObject* image) const;
  TVnPNGObject* Png(int index) const;

  // False for no target or an index out of range; otherwise converts or copies image `index`.
  bool GetBitmap(int index, TBitmap* image) const;
  bool GetPNG(int index, TVnPNGObject* image) const;
  // The text of the image's first zTXt chunk; empty when there is none.
  AnsiString GetPngFileNameByIndex(int index) const;

  // Draws image `index` scaled into (x, y, x + Width, y + Height); `enabled` is not used.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const override;
  // Draws image `index` into `rect` by the placement flags; `result` receives the box drawn into
  // (`rect` itself when the flags give none). Tiles are clipped to `rect`.
  void DrawExt(TCanvas* canvas, const TRect& rect, TRect& result, int index, int flags) const;

  // The stored "Bitmap" data: the marker -5, the count and each image as a PNG file (an empty
  // image as the signature and an end chunk). Writing is
  // done whole before it reaches the stream and raises on failure. Reading replaces the images;
  // another marker or a count that does not come out raises EReadError.
  void WriteData(TStream& stream) const;
  void ReadData(TStream& stream);
  void DefineProperties(TFiler& filer) override;

  static constexpr std::int32_t kStreamMarker = -5;

 private:
  std::unique_ptr<TVnPNGObject> MakePng(TBitmap* image, TBitmap* mask) const;
  std::unique_ptr<TVnPNGObject> MakeMaskedPng(TBitmap* image, TColor maskColor) const;
  // The image as a bitmap of the list's size, for the underlying list.
  std::unique_ptr<TBitmap> ListCopy(const TVnPNGObject& image) const;
  void ReplacePng(int index, const TVnPNGObject& replacement);
  bool ValidIndex(int index) const { return index >= 0 && index < Count(); }

  std::vector<std::unique_ptr<TVnPNGObject>> fPngList;
};

}  // namespace kestrel
