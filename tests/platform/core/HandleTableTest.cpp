#include <gtest/gtest.h>

#include <thread>

#include "platform/core/HandleTable.h"
#include "platform/core/WinTypes.h"

namespace kestrel::platform {
namespace {

TEST(HandleTable, DestroyedAndForeignHandlesAreRefused) {
  HandleTable<int> table(1);
  HandleTable<int> other(2);
  auto first = table.Insert(std::make_shared<int>(7));
  ASSERT_NE(first, 0u);
  EXPECT_EQ(*table.Lookup(first), 7);
  EXPECT_EQ(other.Lookup(first), nullptr) << "a handle of another table must not resolve";

  EXPECT_EQ(*table.Remove(first), 7);
  EXPECT_EQ(table.Lookup(first), nullptr);
  EXPECT_EQ(table.Remove(first), nullptr) << "double destroy must fail";

  // The slot is reused with a new generation: the old handle stays dead.
  auto second = table.Insert(std::make_shared<int>(8));
  EXPECT_NE(second, first);
  EXPECT_EQ(table.Lookup(first), nullptr);
  EXPECT_EQ(*table.Lookup(second), 8);
  EXPECT_EQ(table.Lookup(0), nullptr);
  EXPECT_EQ(table.Lookup(~std::uintptr_t{0}), nullptr);
  EXPECT_EQ(table.Count(), 1u);
}

TEST(HandleTable, LookedUpObjectOutlivesRemoval) {
  HandleTable<int> table(3);
  auto handle = table.Insert(std::make_shared<int>(42));
  auto held = table.Lookup(handle);
  table.Remove(handle);
  EXPECT_EQ(*held, 42);
}

TEST(LastError, IsPerThread) {
  SetLastError(ERROR_INVALID_HANDLE);
  DWORD seenByOther = 1;
  std::thread([&] { seenByOther = GetLastError(); }).join();
  EXPECT_EQ(seenByOther, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(WinTypes, ColourAndWordPacking) {
  EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412u);
  EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
  EXPECT_EQ(GET_X_LPARAM(MAKELPARAM(static_cast<WORD>(-5), 7)), -5);
  EXPECT_EQ(GET_Y_LPARAM(MAKELPARAM(3, static_cast<WORD>(-9))), -9);
}

}  // namespace
}  // namespace kestrel::platform
