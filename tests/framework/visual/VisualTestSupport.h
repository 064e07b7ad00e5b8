#pragma once
// Helpers for the visual framework tests: running the headless backend's messages, reading
// pixels of a control's client area, clicking at a control's client point.

#include <cairo.h>

#include "framework/Form.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/InputInjection.h"
#include "platform/window/WindowApi.h"

namespace kestrel::testing {

inline void Pump() {
  for (int i = 0; i < 20 && platform::HeadlessBackend::Pump() > 0; ++i) {
  }
}

// The colour (0x00BBGGRR) shown at a client point of a windowed control.
inline platform::COLORREF ClientPixel(TWinControl& control, int x, int y) {
  platform::HWND hwnd = control.Handle();
  platform::POINT origin{};
  cairo_surface_t* surface = platform::GetWindowBackingStore(hwnd, &origin);
  if (!surface) return platform::CLR_INVALID;
  platform::RECT wr{};
  platform::GetWindowRect(hwnd, &wr);
  platform::POINT p{x, y};
  platform::ClientToScreen(hwnd, &p);
  const int px = origin.x + p.x - wr.left, py = origin.y + p.y - wr.top;
  cairo_surface_flush(surface);
  if (px < 0 || py < 0 || px >= cairo_image_surface_get_width(surface) || py >= cairo_image_surface_get_height(surface))
    return platform::CLR_INVALID;
  const auto* row = cairo_image_surface_get_data(surface) + py * cairo_image_surface_get_stride(surface);
  const std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(row)[px];
  return platform::RGB(static_cast<platform::BYTE>(argb >> 16), static_cast<platform::BYTE>(argb >> 8),
                       static_cast<platform::BYTE>(argb));
}

inline platform::POINT ScreenPointOf(const TControl& control, int x, int y) {
  return control.ClientToScreen(Point(x, y));
}

inline void ClickAt(const TControl& control, int x, int y) {
  platform::InjectClick(ScreenPointOf(control, x, y));
  Pump();
}

// A shown form at a fixed place, freed at the end of the test.
struct ShownForm {
  TForm* form;
  explicit ShownForm(int width = 300, int height = 200) {
    form = TCustomForm::Create<TForm>(nullptr);
    form->SetPosition(poDesigned);
    form->SetBounds(50, 50, width, height);
    form->Show();
    Pump();
  }
  ~ShownForm() {
    form->BeforeDestruction();
    delete form;
    Pump();
  }
  TForm* operator->() const { return form; }
};

}  // namespace kestrel::testing
