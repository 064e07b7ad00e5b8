// An image form shapes a real top-level window on an X server (run under xvfb-run): the server
// must hold the picture's region as the window's shape.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "controls/KsImageForm.h"
#include "controls/internal/BitmapRegion.h"
#include "framework/Form.h"
#include "framework/Image.h"
#include "platform/backend/BackendSelection.h"
#include "platform/backend/SdlBackend.h"
#include "platform/backend/X11Shape.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel {
namespace {

using namespace platform;

void PumpFor(Uint32 ms) {
  const Uint32 end = SDL_GetTicks() + ms;
  MSG m;
  while (SDL_GetTicks() < end) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    SDL_Delay(10);
  }
}

// A ring on a magenta key: the window keeps only the ring.
std::unique_ptr<TBitmap> RingPicture(int w, int h) {
  auto bitmap = std::make_unique<TBitmap>(w, h);
  TCanvas* c = bitmap->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, w, h));
  c->Brush()->SetColor(clNavy);
  c->Pen()->SetColor(clNavy);
  c->Ellipse(0, 0, w, h);
  c->Brush()->SetColor(clFuchsia);
  c->Pen()->SetColor(clFuchsia);
  c->Ellipse(w / 3, h / 3, w - w / 3, h - h / 3);
  return bitmap;
}

TEST(ImageFormShape, PictureRegionBecomesTheServersShape) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  setenv("SDL_VIDEODRIVER", "x11", 1);
  if (!InstallBackend("sdl")) GTEST_SKIP() << "the display cannot be opened";
  constexpr int kWidth = 160, kHeight = 120;
  TForm* form = TCustomForm::Create<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetPosition(poDesigned);
  form->SetBounds(140, 100, kWidth, kHeight);
  auto* image = new TImage(form);
  auto* imageForm = new TKsImageForm(form);
  imageForm->SetFormImage(image);
  auto picture = RingPicture(kWidth, kHeight);
  image->Picture()->SetGraphic(picture.get());
  imageForm->SetChangeFormRegion(true);
  form->Show();
  PumpFor(300);

  SDL_Window* native = dynamic_cast<SdlBackend&>(Wm().GetBackend()).NativeWindow(form->Handle());
  const auto held = GetX11WindowShape(native);
  if (!held) GTEST_SKIP() << "the display has no SHAPE extension";
  HRGN server = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& r : *held) {
    HRGN piece = CreateRectRgnIndirect(&r);
    CombineRgn(server, server, piece, RGN_OR);
    DeleteObject(piece);
  }
  HRGN expected = BitmapToRegion(*picture, clFuchsia);
  ASSERT_NE(expected, nullptr);
  EXPECT_TRUE(EqualRgn(server, expected)) << "the server holds " << held->size() << " rectangles";
  EXPECT_TRUE(PtInRegion(server, kWidth / 6, kHeight / 2));
  EXPECT_FALSE(PtInRegion(server, kWidth / 2, kHeight / 2)) << "the hole";
  EXPECT_FALSE(PtInRegion(server, 1, 1)) << "a corner";
  DeleteObject(server);
  DeleteObject(expected);

  // Switching the region off makes the window rectangular again on the server too.
  imageForm->SetChangeFormRegion(false);
  PumpFor(200);
  const auto plain = GetX11WindowShape(native);
  ASSERT_TRUE(plain);
  ASSERT_EQ(plain->size(), 1u);
  EXPECT_EQ((*plain)[0], (RECT{0, 0, kWidth, kHeight}));
  form->BeforeDestruction();
  delete form;
}

}  // namespace
}  // namespace kestrel
