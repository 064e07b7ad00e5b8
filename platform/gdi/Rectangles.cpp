#include "platform/gdi/Rectangles.h"

#include <algorithm>

namespace kestrel::platform {

namespace {
bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
}  // namespace

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(RECT* rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(RECT* dest, const RECT* source) {
  if (!dest || !source) return FALSE;
  *dest = *source;
  return TRUE;
}

BOOL InflateRect(RECT* rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left = WrapAdd(rect->left, -static_cast<std::int64_t>(dx));
  rect->top = WrapAdd(rect->top, -static_cast<std::int64_t>(dy));
  rect->right = WrapAdd(rect->right, dx);
  rect->bottom = WrapAdd(rect->bottom, dy);
  return TRUE;
}

BOOL OffsetRect(RECT* rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left = WrapAdd(rect->left, dx);
  rect->top = WrapAdd(rect->top, dy);
  rect->right = WrapAdd(rect->right, dx);
  rect->bottom = WrapAdd(rect->bottom, dy);
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) { return !rect || Empty(*rect); }

BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b; }

BOOL PtInRect(const RECT* rect, POINT p) {
  return rect && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom;
}

BOOL IntersectRect(RECT* dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (Empty(*a) || Empty(*b) || Empty(r)) {
    *dest = RECT{};
    return FALSE;
  }
  *dest = r;
  return TRUE;
}

BOOL UnionRect(RECT* dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  bool emptyA = Empty(*a), emptyB = Empty(*b);
  if (emptyA && emptyB) {
    *dest = RECT{};
    return FALSE;
  }
  if (emptyA) *dest = *b;
  else if (emptyB) *dest = *a;
  else
    *dest = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                 std::max(a->bottom, b->bottom)};
  return TRUE;
}

BOOL SubtractRect(RECT* dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  RECT result = *a;
  RECT overlap;
  if (Empty(*a)) {
    *dest = RECT{};
    return FALSE;
  }
  if (IntersectRect(&overlap, a, b)) {
    bool fullWidth = overlap.left == a->left && overlap.right == a->right;
    bool fullHeight = overlap.top == a->top && overlap.bottom == a->bottom;
    if (fullWidth && fullHeight) {
      *dest = RECT{};
      return FALSE;
    }
    // Only a band spanning a whole side can be cut off and leave a rectangle.
    if (fullWidth && overlap.top == a->top) result.top = overlap.bottom;
    else if (fullWidth && overlap.bottom == a->bottom) result.bottom = overlap.top;
    else if (fullHeight && overlap.left == a->left) result.left = overlap.right;
    else if (fullHeight && overlap.right == a->right) result.right = overlap.left;
  }
  *dest = result;
  return TRUE;
}

}  // namespace kestrel::platform
