#pragma once
// GDI objects (pens, brushes, fonts, bitmaps, regions, palettes) share one checked handle table,
// since SelectObject, GetObject and DeleteObject take any of them. Each kind derives from
// GdiObject; fonts are defined by the text piece (platform/text), the rest by platform/gdi.

#include <memory>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// Values as returned by GetObjectType.
enum class GdiObjectKind : DWORD {
  Pen = 1,      // OBJ_PEN
  Brush = 2,    // OBJ_BRUSH
  Palette = 5,  // OBJ_PAL
  Font = 6,     // OBJ_FONT
  Bitmap = 7,   // OBJ_BITMAP
  Region = 8,   // OBJ_REGION
  ExtPen = 11,  // OBJ_EXTPEN
};

class GdiObject {
 public:
  explicit GdiObject(GdiObjectKind kind) : kind_(kind) {}
  virtual ~GdiObject() = default;
  GdiObjectKind Kind() const { return kind_; }
  // Stock objects ignore DeleteObject.
  bool IsStock() const { return stock_; }
  void MarkStock() { stock_ = true; }
  // GetObject: copies the object's description (LOGPEN, LOGBRUSH, LOGFONTW, BITMAP, DIBSECTION…)
  // into `buffer` of `size` bytes; with a null buffer returns the size needed. 0 on failure.
  virtual int GetObjectData(int size, void* buffer) const = 0;

  // Selection bookkeeping: an object deleted while selected into a DC lives on until it is
  // deselected (or the DC goes), as on Windows.
  void AddSelection() { ++selections_; }
  // True when the last selection ended and a deletion is waiting.
  bool RemoveSelection() { return selections_ > 0 && --selections_ == 0 && deletePending_; }
  bool IsSelected() const { return selections_ > 0; }
  void MarkDeletePending() { deletePending_ = true; }

 private:
  GdiObjectKind kind_;
  bool stock_ = false;
  int selections_ = 0;
  bool deletePending_ = false;
};

// Counts a DC's selection of pens, brushes and fonts (stock objects are not counted) …
void RetainSelection(HGDIOBJ handle);
// … and ends it, completing a deletion that was waiting for it.
void ReleaseSelection(HGDIOBJ handle);

HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> LookupGdiObject(HGDIOBJ handle);
std::shared_ptr<GdiObject> UnregisterGdiObject(HGDIOBJ handle);

// The object behind a handle if it is of kind T (T::kKind, or one of T::Accepts(kind) when
// the class defines it, as pens do for extended pens), else null.
template <class T>
std::shared_ptr<T> LookupGdi(HGDIOBJ handle) {
  auto object = LookupGdiObject(handle);
  if (!object) return nullptr;
  bool accepted;
  if constexpr (requires { T::Accepts(object->Kind()); }) accepted = T::Accepts(object->Kind());
  else accepted = object->Kind() == T::kKind;
  return accepted ? std::static_pointer_cast<T>(object) : nullptr;
}

// Lets the text piece provide the stock fonts (SYSTEM_FONT, DEFAULT_GUI_FONT, …). The object is
// marked as stock; an index that already has an object keeps it. Returns the handle.
HGDIOBJ SetStockObject(int index, std::shared_ptr<GdiObject> object);

}  // namespace kestrel::platform
