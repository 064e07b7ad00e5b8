#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/internal/Brush.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/RecentGdiObjects.h"

namespace kestrel::platform {
namespace {

TEST(RecentGdiObjects, AnswersLikeTheTableAcrossMoreHandlesThanItKeepsAndForgetsDeletedOnes) {
  RecentGdiObjects<Brush, 2> recent;
  std::vector<HBRUSH> brushes;
  for (COLORREF color : {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)}) brushes.push_back(CreateSolidBrush(color));
  for (int round = 0; round < 3; ++round)
    for (HBRUSH brush : brushes) EXPECT_EQ(recent.Find(brush), LookupGdi<Brush>(brush));

  // A pen's handle is not a brush, and a deleted brush is gone even though it was found before.
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  EXPECT_EQ(recent.Find(pen), nullptr);
  ASSERT_NE(recent.Find(brushes[2]), nullptr);
  ASSERT_TRUE(DeleteObject(brushes[2]));
  EXPECT_EQ(recent.Find(brushes[2]), nullptr);

  EXPECT_EQ(recent.Find(nullptr), nullptr);
  DeleteObject(pen);
  DeleteObject(brushes[0]);
  DeleteObject(brushes[1]);
}

}  // namespace
}  // namespace kestrel::platform
