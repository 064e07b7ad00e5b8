#pragma once
// Global memory blocks (GlobalAlloc and friends), as the clipboard hands data around. A movable
// block is an HGLOBAL from the checked kernel-object table and has an address only while
// locked; a fixed block's HGLOBAL is its address. Freed or foreign handles are refused, never
// dereferenced.

#include <cstddef>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

using SIZE_T = std::size_t;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

constexpr DWORD ERROR_DISCARDED = 157;
constexpr DWORD ERROR_NOT_LOCKED = 158;

// Blocks always start zeroed. Null with ERROR_NOT_ENOUGH_MEMORY when the size cannot be had.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's address (counting locks of a movable block); null for an invalid handle or an
// empty movable block (ERROR_DISCARDED).
void* GlobalLock(HGLOBAL memory);
// TRUE while the block stays locked; FALSE with ERROR_SUCCESS when the last lock went, with
// ERROR_NOT_LOCKED when it was not locked.
BOOL GlobalUnlock(HGLOBAL memory);
// Null on success; the handle itself when it was invalid.
HGLOBAL GlobalFree(HGLOBAL memory);
SIZE_T GlobalSize(HGLOBAL memory);

}  // namespace kestrel::platform
