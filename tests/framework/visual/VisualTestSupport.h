#pragma once
// Helpers for the visual framework tests: running the headless backend's messages, reading
// pixels of a control's client area, clicking at a control's client point.

#include <cairo.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/Application.h"
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

inline void ClickAt(const TControl& control, int x, int y, platform::MouseButton button = platform::MouseButton::Left) {
  platform::InjectClick(ScreenPointOf(control, x, y), button);
  Pump();
}

// Drives a modal loop (a popup menu's) from inside: `opener` starts the loop, and each time the
// loop waits for input the next of `steps` runs. The loop must end with the last step; a loop
// that starts without being expected, or outlives its script, fails the test and is ended by
// `giveUp`. Returns how many steps ran.
inline size_t RunModal(const std::function<void()>& opener, std::vector<std::function<void()>> steps,
                       const std::function<void()>& giveUp) {
  size_t next = 0;
  bool gaveUp = false;
  Application()->OnIdle = [&](TObject*, bool& done) {
    done = false;
    if (next < steps.size()) {
      steps[next++]();
    } else if (!gaveUp) {
      gaveUp = true;
      ADD_FAILURE() << "a modal loop outlived its script of " << steps.size() << " steps";
      giveUp();
    }
  };
  opener();
  Application()->OnIdle = nullptr;
  EXPECT_EQ(next, steps.size()) << "the modal loop ended before its script did";
  return next;
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
    if (form) {  // a test may have freed it
      form->BeforeDestruction();
      delete form;
    }
    Pump();
  }
  TForm* operator->() const { return form; }
};

}  // namespace kestrel::testing
