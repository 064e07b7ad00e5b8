#include <gtest/gtest.h>

#include <cstring>

#include "platform/os/GlobalMemory.h"
#include "platform/os/OsErrors.h"

using namespace kestrel::platform;

namespace {

TEST(GlobalMemoryTest, MovableBlocksCountLocksAndRefuseFreedHandles) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 10);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 10u);
  auto* bytes = static_cast<char*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[9], 0);  // zeroed
  std::strcpy(bytes, "clipboard");
  EXPECT_EQ(GlobalLock(block), bytes);
  EXPECT_TRUE(GlobalUnlock(block));  // still locked once
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
  EXPECT_STREQ(static_cast<char*>(GlobalLock(block)), "clipboard");
  GlobalUnlock(block);

  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(block), block);  // a second free is refused, not a double free
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);

  HGLOBAL empty = GlobalAlloc(GHND, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalLock(empty), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_DISCARDED);
  GlobalFree(empty);
}

TEST(GlobalMemoryTest, FixedBlocksAreTheirOwnAddress) {
  HGLOBAL block = GlobalAlloc(GPTR, 4);
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "abc", 4);  // usable directly, as on Windows
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_EQ(GlobalSize(block), 4u);
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);
  int onTheStack = 0;
  EXPECT_EQ(GlobalFree(&onTheStack), &onTheStack);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, ~SIZE_T{0}), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace
