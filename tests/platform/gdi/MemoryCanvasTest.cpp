#include "platform/gdi/MemoryCanvas.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/gdi/Gdi.h"

namespace kestrel::platform {
namespace {

TEST(MemoryCanvas, ABorrowedBitmapIsHeldByOneCanvasAtATimeAndNotDeleted) {
  const OwnedBitmap bitmap(CreateCompatibleBitmap(nullptr, 4, 3));
  {
    const MemoryCanvas canvas = MemoryCanvas::Borrowing(nullptr, bitmap.get());
    ASSERT_TRUE(canvas.Valid());
    EXPECT_EQ(canvas.Width(), 4);
    EXPECT_EQ(canvas.Height(), 3);
    EXPECT_FALSE(MemoryCanvas::Borrowing(nullptr, bitmap.get()).Valid()) << "selected in the first one";
  }
  BITMAP info{};
  EXPECT_NE(GetObject(bitmap.get(), sizeof info, &info), 0) << "a borrowed bitmap is not deleted";
  EXPECT_TRUE(MemoryCanvas::Borrowing(nullptr, bitmap.get()).Valid()) << "free to select again";
}

TEST(MemoryCanvas, AnOwnDibIsDrawnOnThroughTheDcAndGoesWithTheCanvas) {
  EXPECT_FALSE(MemoryCanvas::Dib(nullptr, 0, 5).Valid());
  MemoryCanvas canvas = MemoryCanvas::Dib(nullptr, 2, 2);
  ASSERT_TRUE(canvas.Valid());
  RECT all{0, 0, 2, 2};
  FillRect(canvas.Dc(), &all, OwnedBrush(CreateSolidBrush(RGB(0x10, 0x20, 0x30))).get());
  EXPECT_EQ(canvas.Pixels()[3] & 0xFFFFFF, 0x102030u) << "BGRx, the last pixel";

  MemoryCanvas moved = std::move(canvas);
  EXPECT_FALSE(canvas.Valid());
  EXPECT_EQ(canvas.Dc(), nullptr);
  ASSERT_TRUE(moved.Valid());
  const HBITMAP bitmap = moved.Bitmap();
  moved.Reset();
  BITMAP info{};
  EXPECT_EQ(GetObject(bitmap, sizeof info, &info), 0) << "an own bitmap is deleted";
}

}  // namespace
}  // namespace kestrel::platform
