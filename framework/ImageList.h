#pragma once
// TCustomImageList: a row of equally sized images kept in 32-bit bitmaps with alpha, drawn by
// index (disabled images greyed). Images come in as bitmaps; a mask bitmap or a mask colour
// makes pixels transparent.

#include <memory>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Component.h"

namespace kestrel {

class TCustomImageList : public TComponent {
  KESTREL_CLASS(TCustomImageList)
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // A new size clears the list.
  virtual void SetSize(int width, int height);
  void SetWidth(int value) { SetSize(value, height_); }
  void SetHeight(int value) { SetSize(width_, value); }
  int Count() const { return static_cast<int>(images_.size()); }

  // Adds `image` (wider images are cut into several of Width each); `mask` (may be null):
  // black mask pixels are shown, others transparent. Returns the index of the first image
  // added, -1 when nothing was added.
  int Add(TBitmap* image, TBitmap* mask);
  // Pixels of `maskColor` become transparent.
  int AddMasked(TBitmap* image, TColor maskColor);
  void Replace(int index, TBitmap* image, TBitmap* mask);
  void Delete(int index);
  void Clear();
  void Move(int curIndex, int newIndex);

  // Out-of-range indexes draw nothing.
  virtual void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
  // Copies image `index` into `image` (resized to the list's size, 32 bits with alpha).
  bool GetBitmap(int index, TBitmap* image) const;

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  std::vector<std::unique_ptr<TBitmap>> Split(TBitmap* image, TBitmap* mask, TColor maskColor, bool useMaskColor) const;
  int Insert(std::vector<std::unique_ptr<TBitmap>> parts);

  int width_ = 16;
  int height_ = 16;
  std::vector<std::unique_ptr<TBitmap>> images_;
};

}  // namespace kestrel
