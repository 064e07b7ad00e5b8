#pragma once
// The two drag cursors the framework shows while something is dragged inside the process.
// The system has no resource for them, so they get shape numbers of their own, past the
// IDC_ range; LoadCursorW(nullptr, …) knows them and each backend draws them its way.

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

constexpr WORD kDragCursorShape = 32700;       // one item carried
constexpr WORD kMultiDragCursorShape = 32701;  // several items, or a copy

inline LPCWSTR const IDC_DRAG = MAKEINTRESOURCEW(kDragCursorShape);
inline LPCWSTR const IDC_MULTIDRAG = MAKEINTRESOURCEW(kMultiDragCursorShape);

}  // namespace kestrel::platform
