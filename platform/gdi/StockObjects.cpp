#include "platform/gdi/StockObjects.h"

#include <array>
#include <mutex>
#include <vector>

#include "platform/gdi/internal/Bitmap.h"
#include "platform/gdi/internal/Brush.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Palette.h"
#include "platform/gdi/internal/Pen.h"

namespace kestrel::platform {

namespace {
struct Stock {
  std::mutex mutex;
  std::array<HGDIOBJ, STOCK_LAST + 1> objects{};
  HGDIOBJ defaultBitmap = nullptr;
};

HGDIOBJ RegisterStock(std::shared_ptr<GdiObject> object) {
  if (!object) return nullptr;
  object->MarkStock();
  return RegisterGdiObject(std::move(object));
}

Stock& Instance() {
  static Stock* stock = [] {
    auto* s = new Stock();  // lives for the process: stock handles must never die
    s->objects[WHITE_BRUSH] = RegisterStock(Brush::Solid(RGB(255, 255, 255)));
    s->objects[LTGRAY_BRUSH] = RegisterStock(Brush::Solid(RGB(192, 192, 192)));
    s->objects[GRAY_BRUSH] = RegisterStock(Brush::Solid(RGB(128, 128, 128)));
    s->objects[DKGRAY_BRUSH] = RegisterStock(Brush::Solid(RGB(64, 64, 64)));
    s->objects[BLACK_BRUSH] = RegisterStock(Brush::Solid(RGB(0, 0, 0)));
    s->objects[NULL_BRUSH] = RegisterStock(Brush::Null());
    s->objects[WHITE_PEN] = RegisterStock(std::make_shared<Pen>(PS_SOLID, 0, RGB(255, 255, 255)));
    s->objects[BLACK_PEN] = RegisterStock(std::make_shared<Pen>(PS_SOLID, 0, RGB(0, 0, 0)));
    s->objects[NULL_PEN] = RegisterStock(std::make_shared<Pen>(PS_NULL, 0, 0));
    // DC_BRUSH and DC_PEN draw in the DC's own colours (SetDCBrushColor/SetDCPenColor).
    s->objects[DC_BRUSH] = RegisterStock(Brush::Solid(RGB(255, 255, 255)));
    s->objects[DC_PEN] = RegisterStock(std::make_shared<Pen>(PS_SOLID, 0, RGB(0, 0, 0)));
    // The default palette: the twenty static colours of a classic display.
    std::vector<PALETTEENTRY> statics;
    const BYTE values[20][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
                                {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
                                {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
                                {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    for (const auto& v : values) statics.push_back(PALETTEENTRY{v[0], v[1], v[2], 0});
    s->objects[DEFAULT_PALETTE] = RegisterStock(std::make_shared<Palette>(std::move(statics)));
    s->defaultBitmap = RegisterStock(Bitmap::CreateDevice(1, 1, true));
    return s;
  }();
  return *stock;
}
}  // namespace

HGDIOBJ GetStockObject(int index) {
  Stock& stock = Instance();
  if (index < 0 || index > STOCK_LAST) return nullptr;
  std::lock_guard lock(stock.mutex);
  return stock.objects[index];
}

HGDIOBJ SetStockObject(int index, std::shared_ptr<GdiObject> object) {
  Stock& stock = Instance();
  if (index < 0 || index > STOCK_LAST) return nullptr;
  std::lock_guard lock(stock.mutex);
  if (!stock.objects[index]) stock.objects[index] = RegisterStock(std::move(object));
  return stock.objects[index];
}

HGDIOBJ DefaultBitmap() { return Instance().defaultBitmap; }

}  // namespace kestrel::platform
