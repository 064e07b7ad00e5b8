#pragma once
// The look of a marquee's bullets: how many, their size, gap, shape, fill and outline. Every
// setter stores without comparing and repaints the owning marquee.

#include <cstdint>

#include "framework/Colors.h"
#include "framework/Persistent.h"
#include "framework/PropInfo.h"

namespace kestrel {

class TSmoothWin8Marquee;

enum TSmoothWin8MarqueeBulletShape { bsEllipse, bsRectangle, bsTriangle, bsCustom };

const TEnumInfo& SmoothWin8MarqueeBulletShapeInfo();

class TSmoothWin8MarqueeBullets : public TPersistent {
  KESTREL_CLASS(TSmoothWin8MarqueeBullets)
  explicit TSmoothWin8MarqueeBullets(TSmoothWin8Marquee* owner = nullptr) : FOwner(owner) {}

  // Copies all nine values from other bullets, without repainting; anything else is ignored.
  using TPersistent::Assign;
  void Assign(const TPersistent* source) override;

#define KESTREL_BULLET_PROPERTY(Type, Name, Initial) \
 public:                                             \
  Type Name() const { return Name##_; }              \
  void Set##Name(Type value) {                       \
    Name##_ = value;                                 \
    Changed();                                       \
  }                                                  \
                                                     \
 private:                                            \
  Type Name##_ = Initial;
  KESTREL_BULLET_PROPERTY(int, Count, 6)
  KESTREL_BULLET_PROPERTY(int, Width, 10)
  KESTREL_BULLET_PROPERTY(int, Height, 10)
  KESTREL_BULLET_PROPERTY(int, Spacing, 3)
  KESTREL_BULLET_PROPERTY(TSmoothWin8MarqueeBulletShape, Shape, bsEllipse)
  KESTREL_BULLET_PROPERTY(TColor, Color, 14772545)
  KESTREL_BULLET_PROPERTY(std::uint8_t, Opacity, 255)
  KESTREL_BULLET_PROPERTY(TColor, BorderColor, clNone)
  KESTREL_BULLET_PROPERTY(std::uint8_t, BorderOpacity, 255)
#undef KESTREL_BULLET_PROPERTY

 public:
  // The row's width: Count bullets and Count gaps, less one pixel.
  float RowWidth() const;

 private:
  void Changed();

  TSmoothWin8Marquee* FOwner;
};

}  // namespace kestrel
