#include <gtest/gtest.h>

#include <memory>

#include "controls/KsImageForm.h"
#include "controls/KsPanel.h"
#include "controls/internal/BitmapRegion.h"
#include "platform/gdi/Gdi.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel {
namespace {

using namespace platform;
using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

// The region as rectangles, for comparing.
std::vector<RECT> Rects(HRGN region) {
  std::vector<RECT> out;
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<std::uint8_t> data(size);
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  GetRegionData(region, size, rd);
  const auto* r = reinterpret_cast<const RECT*>(data.data() + sizeof(RGNDATAHEADER));
  out.assign(r, r + rd->rdh.nCount);
  return out;
}

TEST(BitmapRegion, RunsOfNonKeyPixelsIncludingTheLastColumnInEveryFormat) {
  for (TPixelFormat format : {pf24bit, pf32bit, pf8bit}) {
    TBitmap bitmap(4, 2);
    bitmap.SetPixelFormat(format);
    ASSERT_EQ(bitmap.PixelFormat(), format);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 4, 2));
    bitmap.Canvas()->SetPixels(3, 0, clRed);  // rightmost column
    bitmap.Canvas()->SetPixels(1, 1, clBlue);
    HRGN region = BitmapToRegion(bitmap, clWhite);
    ASSERT_NE(region, nullptr) << format;
    // Never inverted: the region holds the two coloured pixels, not the white ones.
    EXPECT_EQ(Rects(region), (std::vector<RECT>{{3, 0, 4, 1}, {1, 1, 2, 2}})) << format;
    DeleteObject(region);
  }
  TBitmap plain(3, 3);
  plain.Canvas()->Brush()->SetColor(clLime);
  plain.Canvas()->FillRect(Rect(0, 0, 3, 3));
  EXPECT_EQ(BitmapToRegion(plain, clLime), nullptr);
}

struct ImageFormFixture : ::testing::Test {
  ShownForm f{240, 180};
  TKsImageForm* imageForm = new TKsImageForm(f.form);
  TImage* image = new TImage(f.form);

  // A picture: a green disc-like block on a magenta key, bottom-left pixel magenta.
  void SetPicture(int w, int h) {
    TBitmap picture(w, h);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(Rect(0, 0, w, h));
    picture.Canvas()->Brush()->SetColor(clGreen);
    picture.Canvas()->FillRect(Rect(w / 4, h / 4, w - w / 4, h - h / 4));
    image->Picture()->SetGraphic(&picture);
  }
  RECT RegionBox() {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    RECT box{};
    if (GetWindowRgn(f->Handle(), r) != ERROR) GetRgnBox(r, &box);
    DeleteObject(r);
    return box;
  }
};

TEST_F(ImageFormFixture, AGradientOfNoStepsLeavesTheEraseToTheControl) {
  f->SetColor(clYellow);
  imageForm->SetBackgroundType(bgtVertGradient);
  imageForm->SetGradientSteps(0);
  TBitmap target(20, 20);
  target.Canvas()->Brush()->SetColor(clGreen);
  target.Canvas()->FillRect(Rect(0, 0, 20, 20));
  f->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.Canvas()->Handle()));
  EXPECT_EQ(target.Canvas()->Pixels(5, 5), clYellow);  // the form's own erase, not nothing
}

TEST_F(ImageFormFixture, PictureShapesTheWindowOnlyWhileChangeFormRegionIsOn) {
  SetPicture(100, 80);
  EXPECT_EQ(imageForm->TransparentColor(), clBlack) << "no picture watched yet";
  imageForm->SetFormImage(image);
  imageForm->SetStretchFormRegion(true);
  imageForm->SetTransparentColor(clFuchsia);
  EXPECT_EQ(imageForm->Region(), nullptr) << "ChangeFormRegion is off";

  imageForm->SetChangeFormRegion(true);
  ASSERT_NE(imageForm->Region(), nullptr);
  // Stretched to the window's outer size (240 x 180): the block covers the middle half.
  EXPECT_EQ(RegionBox(), (RECT{60, 45, 180, 135}));
  imageForm->SetStretchFormRegion(false);
  EXPECT_EQ(RegionBox(), (RECT{25, 20, 75, 60}));

  // A new picture resets the key to its bottom-left pixel and rebuilds the region.
  TBitmap other(10, 10);
  other.Canvas()->Brush()->SetColor(clGreen);
  other.Canvas()->FillRect(Rect(0, 0, 10, 10));
  other.Canvas()->SetPixels(0, 9, clYellow);
  other.Canvas()->SetPixels(9, 0, clYellow);
  image->Picture()->SetGraphic(&other);
  EXPECT_EQ(imageForm->TransparentColor(), static_cast<TColor>(ColorToRGB(clYellow)));
  EXPECT_EQ(RegionBox(), (RECT{0, 0, 10, 10}));
  // A picture all of the key colour leaves the window rectangular.
  imageForm->SetTransparentColor(clGreen);
  imageForm->SetTransparentColor(static_cast<TColor>(ColorToRGB(clYellow)));
  ASSERT_NE(imageForm->Region(), nullptr);
  TBitmap flat(5, 5);
  flat.Canvas()->Brush()->SetColor(clRed);
  flat.Canvas()->FillRect(Rect(0, 0, 5, 5));
  image->Picture()->SetGraphic(&flat);
  EXPECT_EQ(imageForm->Region(), nullptr);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(f->Handle(), probe), ERROR);
  DeleteObject(probe);
  imageForm->SetChangeFormRegion(false);
}

TEST_F(ImageFormFixture, ChainedPictureHandlerHearsTheImageFormAndIsGivenBackOnDetach) {
  int invalidations = 0;
  TObject* seen = nullptr;
  image->Picture()->OnChange = [&](TObject* sender) {
    ++invalidations;
    seen = sender;
  };
  imageForm->SetFormImage(image);
  int links = 0;
  TImgFormChangeLink link;
  link.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, imageForm);
    ++links;
  };
  imageForm->RegisterChanges(&link);
  SetPicture(8, 8);
  EXPECT_EQ(invalidations, 1);
  EXPECT_EQ(seen, imageForm);
  EXPECT_EQ(links, 1);
  imageForm->SetFormImage(nullptr);
  SetPicture(9, 9);
  EXPECT_EQ(invalidations, 2);
  EXPECT_EQ(links, 1);
  // An image form freed before its picture leaves the picture's handler intact.
  imageForm->SetFormImage(image);
  delete imageForm;
  imageForm = nullptr;
  EXPECT_EQ(link.Sender(), nullptr);
  SetPicture(7, 7);
  EXPECT_EQ(invalidations, 3);
}

TEST_F(ImageFormFixture, MoveFormTurnsOnlyFreeClientAreaIntoACaption) {
  imageForm->SetMoveForm(true);
  auto* child = new TKsPanel(f.form);
  child->SetParent(f.form);
  child->SetBounds(150, 10, 60, 40);
  auto* label = new TImage(f.form);
  label->SetParent(f.form);
  label->SetBounds(10, 120, 50, 30);
  Pump();
  auto hit = [&](int x, int y) {
    const TPoint s = f->ClientToScreen(Point(x, y));
    return SendMessageW(f->Handle(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
  };
  EXPECT_EQ(hit(40, 40), HTCAPTION);
  EXPECT_EQ(hit(20, 130), HTCLIENT) << "over a windowless child";
  // Scroll bars keep working: only client answers turn into the caption.
  SetWindowLongW(f->Handle(), GWL_STYLE, GetWindowLongW(f->Handle(), GWL_STYLE) | WS_VSCROLL);
  SetWindowPos(f->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  const int right = f->ClientWidth();
  EXPECT_EQ(hit(right + 3, 40), HTVSCROLL);
  // With a caption control only its area drags the window.
  imageForm->SetCaptionControl(label);
  EXPECT_EQ(hit(40, 40), HTCLIENT);
  EXPECT_EQ(hit(20, 130), HTCAPTION);
  delete label;
  EXPECT_EQ(imageForm->CaptionControl(), nullptr);
}

TEST_F(ImageFormFixture, DraggingTheFreeClientAreaMovesTheWindow) {
  imageForm->SetMoveForm(true);
  const TRect before = f->BoundsRect();
  const TPoint start = f->ClientToScreen(Point(50, 50));
  InjectMouseMove(start);
  InjectMouseButton(MouseButton::Left, true, start);
  InjectMouseMove({start.x + 40, start.y + 25});
  InjectMouseButton(MouseButton::Left, false, {start.x + 40, start.y + 25});
  Pump();
  EXPECT_EQ(f->Left(), before.left + 40);
  EXPECT_EQ(f->Top(), before.top + 25);
}

TEST_F(ImageFormFixture, RightClickOnTheCaptionAreaReachesTheFormAsAClientClick) {
  imageForm->SetMoveForm(true);
  std::vector<std::pair<UINT, LPARAM>> clicks;
  TKsHook spy(nullptr);
  spy.SetControl(f.form);
  spy.OnBeforeProcess = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONUP) clicks.emplace_back(m.Msg, m.LParam);
  };
  spy.SetActive(true);
  const TPoint s = f->ClientToScreen(Point(30, 20));
  SendMessageW(f->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(s.x, s.y));
  SendMessageW(f->Handle(), WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(s.x, s.y));
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0], std::make_pair(WM_RBUTTONDOWN, MAKELPARAM(30, 20)));
  EXPECT_EQ(clicks[1].first, WM_RBUTTONUP);
}

TEST_F(ImageFormFixture, NoticeReachesEveryChildAndPaintingWithoutARealControlDoesNothing) {
  int heard = 0;
  std::vector<std::unique_ptr<TKsHook>> spies;
  for (int i = 0; i < 3; ++i) {
    auto* child = new TKsPanel(f.form);
    child->SetParent(f.form);
    auto spy = std::make_unique<TKsHook>(nullptr);
    spy->SetControl(child);
    // Each child answers non-zero; the later ones must hear the notice all the same.
    spy->OnBeforeProcess = [&](TObject*, TMessage& m, bool& handled) {
      if (m.Msg != KSM_IMAGEFORM_CHANGED) return;
      ++heard;
      m.Result = 1;
      handled = true;
    };
    spy->SetActive(true);
    spies.push_back(std::move(spy));
  }
  f->SetBounds(f->Left(), f->Top(), 250, 190);
  Pump();
  EXPECT_EQ(heard, 3);

  TKsImageForm orphan(nullptr);
  EXPECT_EQ(orphan.GetRealControl(), nullptr);
  TBitmap target(4, 4);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(Rect(0, 0, 4, 4));
  orphan.PaintBkgnd(target.Canvas()->Handle(), Rect(0, 0, 4, 4), Point(0, 0), false);
  EXPECT_EQ(target.Canvas()->Pixels(2, 2), static_cast<TColor>(ColorToRGB(clWhite)));
}

// A tiled picture behind the form continues through a child panel that borrows it; a
// see-through panel shows it too, tinted.
TEST_F(ImageFormFixture, BorrowedBackgroundLinesUpWithTheForm) {
  testing::ThemeScope classic(false);
  std::unique_ptr<TBitmap> tile(testing::PatternBitmap(64, 48));
  imageForm->SetBackground(tile.get());
  imageForm->SetBackgroundType(bgtTileBitmap);
  auto* panel = new TKsPanel(f.form);
  panel->SetParent(f.form);
  panel->SetBounds(30, 30, 120, 70);
  panel->SetBevelOuter(bvNone);
  panel->SetImageForm(imageForm);
  panel->SetCaption(u"borrowed");
  auto* glass = new TKsPanel(f.form);
  glass->SetParent(f.form);
  glass->SetBounds(160, 110, 70, 60);
  glass->SetTransparent(true);
  glass->SetAlphaLevel(96);
  glass->SetColor(clWhite);
  glass->SetBevelOuter(bvLowered);
  f->Invalidate();
  Pump();
  auto expected = [&](int x, int y) {
    return RGB(static_cast<BYTE>((x % 64) * 5), static_cast<BYTE>((y % 48) * 7), 0x80);
  };
  EXPECT_EQ(ClientPixel(*f.form, 10, 100), expected(10, 100));
  for (TPoint p : {Point(2, 3), Point(100, 60), Point(40, 5)})
    EXPECT_EQ(ClientPixel(*panel, p.x, p.y), expected(30 + p.x, 30 + p.y)) << p.x << "," << p.y;
  cairo_surface_t* shot = testing::CaptureClient(*f.form);
  EXPECT_TRUE(testing::MatchesGolden(shot, "controls_imageform_alignment"));
  cairo_surface_destroy(shot);
}

}  // namespace
}  // namespace kestrel
