#include <gtest/gtest.h>

#include "framework/Bitmap.h"
#include "framework/Exceptions.h"
#include "framework/MemoryStream.h"
#include "framework/Picture.h"
#include "platform/gdi/Gdi.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel {
namespace {

TEST(Graphics, CanvasDrawsOnABitmapWithPenBrushAndSystemColours) {
  TBitmap bitmap(20, 10);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(Rect(0, 0, 20, 10));
  EXPECT_EQ(static_cast<platform::COLORREF>(canvas->Pixels(5, 5)), ColorToRGB(clBtnFace));
  canvas->Pen()->SetColor(clRed);
  canvas->Brush()->SetColor(clBlue);
  canvas->Rectangle(2, 2, 8, 8);
  EXPECT_EQ(canvas->Pixels(2, 2), clRed);
  EXPECT_EQ(canvas->Pixels(5, 5), clBlue);
  // A clear brush leaves the inside alone; clNone turns the brush clear.
  canvas->Brush()->SetColor(clNone);
  EXPECT_EQ(canvas->Brush()->Style(), bsClear);
  canvas->Pen()->SetColor(clLime);
  canvas->Rectangle(10, 2, 16, 8);
  EXPECT_EQ(canvas->Pixels(10, 2), clLime);
  EXPECT_EQ(static_cast<platform::COLORREF>(canvas->Pixels(13, 5)), ColorToRGB(clBtnFace));
  EXPECT_EQ(canvas->Pixels(100, 100), clNone);
  canvas->Font()->SetColor(clBlack);
  EXPECT_GT(canvas->TextWidth(u"Hello"), canvas->TextWidth(u"H"));
}

TEST(Graphics, BitmapResizeKeepsPixelsAndBmpRoundTrips) {
  TBitmap bitmap(4, 3);
  bitmap.Canvas()->SetPixels(1, 1, 0x123456);
  bitmap.Canvas()->SetPixels(3, 2, clWhite);
  bitmap.SetWidth(6);
  EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), 0x123456);
  EXPECT_EQ(bitmap.Canvas()->Pixels(5, 0), clBlack);
  bitmap.SetPixelFormat(pf24bit);
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  stream.SetPosition(0);
  TBitmap copy;
  copy.LoadFromStream(stream);
  EXPECT_EQ(copy.Width(), 6);
  EXPECT_EQ(copy.Height(), 3);
  EXPECT_EQ(copy.Canvas()->Pixels(1, 1), 0x123456);
  EXPECT_EQ(copy.Canvas()->Pixels(3, 2), clWhite);
  // Cut or foreign data is refused, the bitmap keeps what it had.
  TMemoryStream bad;
  bad.WriteBuffer("BMxx", 4);
  bad.SetPosition(0);
  EXPECT_THROW(copy.LoadFromStream(bad), EInvalidGraphic);
  EXPECT_EQ(copy.Width(), 6);
}

TEST(Graphics, PictureLoadsByRegisteredExtension) {
  testing::TempDir dir;
  TBitmap bitmap(5, 5);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(Rect(0, 0, 5, 5));
  const String path = Utf8ToUtf16((dir / "red.BMP").string());
  bitmap.SaveToFile(path);
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadFromFile(path);
  ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 5);
  EXPECT_GE(changes, 1);
  EXPECT_EQ(TGraphic::ClassForExtension(u".bmp"), &TBitmap::StaticClass());
  EXPECT_THROW(picture.LoadFromFile(Utf8ToUtf16((dir / "x.unknownext").string())), EInvalidGraphicOperation);
  EXPECT_EQ(picture.Width(), 5);
  // Drawing the picture's graphic onto another canvas.
  TBitmap target(10, 10);
  target.Canvas()->Draw(2, 2, picture.Graphic());
  EXPECT_EQ(target.Canvas()->Pixels(3, 3), clRed);
  EXPECT_EQ(target.Canvas()->Pixels(8, 8), clBlack);
}

}  // namespace
}  // namespace kestrel
