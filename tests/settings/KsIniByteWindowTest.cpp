// Reading a file a piece at a time: what the window holds is always the file's bytes at its
// offset, across pieces, growth past a piece and skips, and it never claims more than is there.

#include <gtest/gtest.h>

#include <algorithm>

#include "settings/internal/KsIniByteWindow.h"
#include "tests/settings/KsIniTestSupport.h"

namespace kestrel::test {
namespace {

TEST(KsIniByteWindow, HoldsTheFileBytesAtEveryOffsetAcrossPieces) {
  constexpr std::size_t piece = TKsIniByteWindow::kPiece;
  std::vector<std::uint8_t> bytes(3 * piece + 5);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  }
  testing::TempDir dir;
  WriteBytes(dir / "w.bin", bytes);
  TKsIniByteWindow in;
  ASSERT_TRUE(in.Open(Utf8ToUtf16((dir / "w.bin").string()), false));
  auto holdsFileBytes = [&] {
    return in.Offset() + in.Available() <= bytes.size() &&
           std::equal(in.Data(), in.Data() + in.Available(), bytes.begin() + in.Offset());
  };
  ASSERT_TRUE(in.Fill(10));
  in.Consume(piece - 3);  // a record that straddles the first piece
  ASSERT_TRUE(in.Fill(8));
  EXPECT_TRUE(holdsFileBytes());
  ASSERT_TRUE(in.Fill(piece + 100));  // longer than a piece: the window grows
  EXPECT_TRUE(holdsFileBytes());
  ASSERT_TRUE(in.Skip(piece + 50));
  EXPECT_EQ(in.Offset(), 2 * piece + 47);
  EXPECT_TRUE(in.Fill(1));
  EXPECT_TRUE(holdsFileBytes());
  EXPECT_FALSE(in.Fill(in.Remaining() + 1));
  EXPECT_FALSE(in.Skip(in.Remaining() + 1));
  EXPECT_EQ(in.Remaining(), bytes.size() - in.Offset());
  in.FillAll();
  EXPECT_TRUE(in.Exhausted());
  EXPECT_EQ(in.Available(), in.Remaining());
  EXPECT_TRUE(holdsFileBytes());
  EXPECT_FALSE(in.Failed());
}

}  // namespace
}  // namespace kestrel::test
