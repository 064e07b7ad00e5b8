#include "platform/gdi/DcState.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/gdi/StockObjects.h"
#include "platform/gdi/SystemColors.h"
#include "platform/gdi/internal/Bitmap.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Region.h"

namespace kestrel::platform {

namespace {
// Marks which DC holds a bitmap; stock bitmaps may be in any number of DCs.
void MarkSelected(HGDIOBJ handle, HDC hdc) {
  auto bitmap = LookupGdi<Bitmap>(handle);
  if (bitmap && !bitmap->IsStock()) bitmap->selectedInto = hdc;
}

bool SelectableInto(const Bitmap& bitmap, HDC hdc) {
  if (bitmap.IsStock() || !bitmap.selectedInto || bitmap.selectedInto == hdc) return true;
  // The DC that held it may be gone.
  return LookupDeviceContext(bitmap.selectedInto) == nullptr;
}

HGDIOBJ SelectBitmap(HDC hdc, DeviceContext& dc, HGDIOBJ handle) {
  auto bitmap = LookupGdi<Bitmap>(handle);
  if (dc.GetKind() != DeviceContext::Kind::Memory || !SelectableInto(*bitmap, hdc)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HGDIOBJ previous = dc.State().bitmap;
  if (previous != handle) MarkSelected(previous, nullptr);
  dc.State().bitmap = handle;
  dc.DropCachedCairo();
  MarkSelected(handle, hdc);
  return previous;
}

// Applies `change` to the DC's state and returns the previous value of a field.
template <class T, class Field>
T Exchange(HDC hdc, Field field, T value, T failure) {
  auto dc = DcOrFail(hdc);
  if (!dc) return failure;
  T previous = dc->State().*field;
  dc->State().*field = value;
  return previous;
}

template <class T, class Field>
T Read(HDC hdc, Field field, T failure) {
  auto dc = DcOrFail(hdc);
  return dc ? dc->State().*field : failure;
}

BOOL SetPoint(HDC hdc, POINT DeviceContextState::*field, POINT value, POINT* previous) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->State().*field;
  dc->State().*field = value;
  return TRUE;
}

BOOL OffsetPoint(HDC hdc, POINT DeviceContextState::*field, int dx, int dy, POINT* previous) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  POINT& p = dc->State().*field;
  if (previous) *previous = p;
  p.x = WrapAdd(p.x, dx);
  p.y = WrapAdd(p.y, dy);
  return TRUE;
}

BOOL GetPoint(HDC hdc, POINT DeviceContextState::*field, POINT* out) {
  auto dc = DcOrFail(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->State().*field;
  return TRUE;
}

// In MM_ISOTROPIC a logical unit is as long on both axes: the viewport extent of the axis with
// the larger scale shrinks to the other's scale (keeping its sign).
void MakeIsotropic(DeviceContextState& s) {
  if (s.mapMode != MM_ISOTROPIC) return;
  const long long wx = std::llabs(s.windowExt.cx), wy = std::llabs(s.windowExt.cy);
  const long long vx = std::llabs(s.viewportExt.cx), vy = std::llabs(s.viewportExt.cy);
  auto clampExtent = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, 1, INT32_MAX)); };
  if (vx * wy > vy * wx) {  // x scale larger
    const LONG x = clampExtent((wx * vy + wy / 2) / wy);
    s.viewportExt.cx = s.viewportExt.cx < 0 ? -x : x;
  } else if (vy * wx > vx * wy) {
    const LONG y = clampExtent((wy * vx + wx / 2) / wx);
    s.viewportExt.cy = s.viewportExt.cy < 0 ? -y : y;
  }
}

BOOL SetExtent(HDC hdc, SIZE DeviceContextState::*field, int x, int y, SIZE* previous) {
  auto dc = DcOrFail(hdc);
  if (!dc || x == 0 || y == 0) return FALSE;
  if (previous) *previous = dc->State().*field;
  if (dc->State().mapMode == MM_ANISOTROPIC || dc->State().mapMode == MM_ISOTROPIC) {
    dc->State().*field = SIZE{x, y};
    MakeIsotropic(dc->State());
  }
  return TRUE;
}

BOOL Translate(HDC hdc, POINT* points, int count, int sign) {
  auto dc = DcOrFail(hdc);
  if (!dc || (count > 0 && !points) || count < 0) return FALSE;
  const DeviceContextState& s = dc->State();
  if (s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC) {
    auto fit = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); };
    for (int i = 0; i < count; ++i) {
      const long long x = points[i].x, y = points[i].y;
      points[i].x = fit(sign > 0 ? MapToDevice(s, x, false) : MapToLogical(s, x, false));
      points[i].y = fit(sign > 0 ? MapToDevice(s, y, true) : MapToLogical(s, y, true));
    }
    return TRUE;
  }
  LONG dx = WrapAdd(s.viewportOrg.x, -static_cast<std::int64_t>(s.windowOrg.x));
  LONG dy = WrapAdd(s.viewportOrg.y, -static_cast<std::int64_t>(s.windowOrg.y));
  for (int i = 0; i < count; ++i) {
    points[i].x = WrapAdd(points[i].x, sign * static_cast<std::int64_t>(dx));
    points[i].y = WrapAdd(points[i].y, sign * static_cast<std::int64_t>(dy));
  }
  return TRUE;
}
}  // namespace

std::shared_ptr<DeviceContext> DcOrFail(HDC hdc) {
  auto dc = LookupDeviceContext(hdc);
  if (!dc) SetLastError(ERROR_INVALID_HANDLE);
  return dc;
}

std::shared_ptr<DeviceContext> DcOrFail(HDC hdc, const void* required) {
  auto dc = DcOrFail(hdc);
  if (dc && !required) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return dc;
}

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !DcOrFail(hdc)) return nullptr;
  return RegisterDeviceContext(std::make_shared<DeviceContext>(DeviceContext::Kind::Memory));
}

BOOL DeleteDC(HDC hdc) {
  auto dc = UnregisterDeviceContext(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  MarkSelected(dc->State().bitmap, nullptr);
  return TRUE;
}

int SaveDC(HDC hdc) {
  auto dc = DcOrFail(hdc);
  if (!dc) return 0;
  dc->SavedStates().push_back(dc->State());
  return static_cast<int>(dc->SavedStates().size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  auto& saved = dc->SavedStates();
  int depth = static_cast<int>(saved.size());
  int target = savedDC < 0 ? depth + savedDC + 1 : savedDC;
  if (savedDC == 0 || target < 1 || target > depth) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HGDIOBJ oldBitmap = dc->State().bitmap;
  DeviceContextState before = dc->State();
  dc->State() = saved[target - 1];
  for (HGDIOBJ restored : {dc->State().pen, dc->State().brush, dc->State().font}) RetainSelection(restored);
  for (HGDIOBJ replaced : {before.pen, before.brush, before.font}) ReleaseSelection(replaced);
  saved.resize(target - 1);
  HGDIOBJ newBitmap = dc->State().bitmap;
  if (newBitmap != oldBitmap) {
    dc->DropCachedCairo();
    MarkSelected(oldBitmap, nullptr);
    auto bitmap = LookupGdi<Bitmap>(newBitmap);
    if (dc->GetKind() == DeviceContext::Kind::Memory && (!bitmap || !SelectableInto(*bitmap, hdc)))
      dc->State().bitmap = DefaultBitmap();
    else MarkSelected(newBitmap, hdc);
  }
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
  auto dc = DcOrFail(hdc);
  if (!dc) return nullptr;
  auto object = LookupGdiObject(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  DeviceContextState& s = dc->State();
  auto swap = [&](HGDIOBJ& slot) {
    HGDIOBJ old = slot;
    RetainSelection(handle);
    slot = handle;
    ReleaseSelection(old);
    return old;
  };
  switch (object->Kind()) {
    case GdiObjectKind::Pen:
    case GdiObjectKind::ExtPen: return swap(s.pen);
    case GdiObjectKind::Brush: return swap(s.brush);
    case GdiObjectKind::Font: return swap(s.font);
    case GdiObjectKind::Bitmap: return SelectBitmap(hdc, *dc, handle);
    case GdiObjectKind::Region: {
      auto region = std::static_pointer_cast<Region>(object);
      s.clip.reset(cairo_region_copy(region->Get()));
      return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(region->Complexity()));
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ handle) {
  auto object = LookupGdiObject(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (object->IsStock()) return TRUE;
  if (object->IsSelected() && object->Kind() != GdiObjectKind::Bitmap) {
    object->MarkDeletePending();  // goes when the last DC lets go of it
    return TRUE;
  }
  if (object->Kind() == GdiObjectKind::Bitmap) {
    auto bitmap = std::static_pointer_cast<Bitmap>(object);
    // A bitmap still selected into a living DC cannot go: the DC draws on it.
    if (bitmap->selectedInto && LookupDeviceContext(bitmap->selectedInto)) return FALSE;
  }
  UnregisterGdiObject(handle);
  return TRUE;
}

int GetObject(HGDIOBJ handle, int size, void* buffer) {
  auto object = LookupGdiObject(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (size < 0) return 0;
  return object->GetObjectData(size, buffer);
}

DWORD GetObjectType(HGDIOBJ handle) {
  if (auto object = LookupGdiObject(handle)) return static_cast<DWORD>(object->Kind());
  if (auto dc = LookupDeviceContext(static_cast<HDC>(handle)))
    return dc->GetKind() == DeviceContext::Kind::Memory ? OBJ_MEMDC : OBJ_DC;
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  auto dc = DcOrFail(hdc);
  if (!dc) return nullptr;
  const DeviceContextState& s = dc->State();
  switch (type) {
    case OBJ_PEN: return s.pen;
    case OBJ_BRUSH: return s.brush;
    case OBJ_FONT: return s.font;
    case OBJ_BITMAP: return s.bitmap;
    case OBJ_PAL: return s.palette;
    default: return nullptr;
  }
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* previous) {
  return SetPoint(hdc, &DeviceContextState::windowOrg, POINT{x, y}, previous);
}
BOOL GetWindowOrgEx(HDC hdc, POINT* origin) { return GetPoint(hdc, &DeviceContextState::windowOrg, origin); }
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, POINT* previous) {
  return OffsetPoint(hdc, &DeviceContextState::windowOrg, dx, dy, previous);
}
BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* previous) {
  return SetPoint(hdc, &DeviceContextState::viewportOrg, POINT{x, y}, previous);
}
BOOL GetViewportOrgEx(HDC hdc, POINT* origin) { return GetPoint(hdc, &DeviceContextState::viewportOrg, origin); }
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* previous) {
  return OffsetPoint(hdc, &DeviceContextState::viewportOrg, dx, dy, previous);
}

int SetMapMode(HDC hdc, int mode) {
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  int previous = Exchange(hdc, &DeviceContextState::mapMode, mode, 0);
  if (previous && mode == MM_TEXT) {
    auto dc = LookupDeviceContext(hdc);
    dc->State().windowExt = SIZE{1, 1};
    dc->State().viewportExt = SIZE{1, 1};
  }
  return previous;
}
int GetMapMode(HDC hdc) { return Read(hdc, &DeviceContextState::mapMode, 0); }
BOOL SetWindowExtEx(HDC hdc, int x, int y, SIZE* previous) {
  return SetExtent(hdc, &DeviceContextState::windowExt, x, y, previous);
}
BOOL SetViewportExtEx(HDC hdc, int x, int y, SIZE* previous) {
  return SetExtent(hdc, &DeviceContextState::viewportExt, x, y, previous);
}
BOOL LPtoDP(HDC hdc, POINT* points, int count) { return Translate(hdc, points, count, 1); }
BOOL DPtoLP(HDC hdc, POINT* points, int count) { return Translate(hdc, points, count, -1); }

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  return Exchange(hdc, &DeviceContextState::textColor, color, CLR_INVALID);
}
COLORREF GetTextColor(HDC hdc) { return Read(hdc, &DeviceContextState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC hdc, COLORREF color) { return Exchange(hdc, &DeviceContextState::bkColor, color, CLR_INVALID); }
COLORREF GetBkColor(HDC hdc) { return Read(hdc, &DeviceContextState::bkColor, CLR_INVALID); }

int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Exchange(hdc, &DeviceContextState::bkMode, mode, 0);
}
int GetBkMode(HDC hdc) { return Read(hdc, &DeviceContextState::bkMode, 0); }

int SetROP2(HDC hdc, int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Exchange(hdc, &DeviceContextState::rop2, mode, 0);
}
int GetROP2(HDC hdc) { return Read(hdc, &DeviceContextState::rop2, 0); }

int SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Exchange(hdc, &DeviceContextState::stretchBltMode, mode, 0);
}
int GetStretchBltMode(HDC hdc) { return Read(hdc, &DeviceContextState::stretchBltMode, 0); }

int SetPolyFillMode(HDC hdc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Exchange(hdc, &DeviceContextState::polyFillMode, mode, 0);
}
int GetPolyFillMode(HDC hdc) { return Read(hdc, &DeviceContextState::polyFillMode, 0); }

BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* previous) {
  return SetPoint(hdc, &DeviceContextState::brushOrg, POINT{x, y}, previous);
}
BOOL GetBrushOrgEx(HDC hdc, POINT* origin) { return GetPoint(hdc, &DeviceContextState::brushOrg, origin); }
COLORREF SetDCBrushColor(HDC hdc, COLORREF color) {
  return Exchange(hdc, &DeviceContextState::dcBrushColor, color, CLR_INVALID);
}
COLORREF GetDCBrushColor(HDC hdc) { return Read(hdc, &DeviceContextState::dcBrushColor, CLR_INVALID); }
COLORREF SetDCPenColor(HDC hdc, COLORREF color) {
  return Exchange(hdc, &DeviceContextState::dcPenColor, color, CLR_INVALID);
}
COLORREF GetDCPenColor(HDC hdc) { return Read(hdc, &DeviceContextState::dcPenColor, CLR_INVALID); }

int GetDeviceCaps(HDC hdc, int index) {
  auto dc = DcOrFail(hdc);
  if (!dc) return 0;
  switch (index) {
    case BITSPIXEL: return 32;  // memory DCs answer for the screen they are compatible with
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case NUMCOLORS: return -1;
    case SIZEPALETTE: return 0;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);  // every DC answers for the screen
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    default: return 0;
  }
}

}  // namespace kestrel::platform
