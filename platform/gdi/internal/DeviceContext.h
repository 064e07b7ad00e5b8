#pragma once
// The device context: the state every drawing call works with, over a cairo image surface.
//
// A DC draws on one surface: a memory DC on the bitmap selected into it, a window DC on its
// top-level window's backing store. Coordinates pass through three steps:
//   logical  --(minus window origin, plus viewport origin)-->  device
//   device   --(plus SurfaceOrigin())-->                       surface pixels
// SurfaceOrigin() is where the DC's device (0,0) lies in the surface: (0,0) for memory DCs, the
// client or window origin of a child window inside its top-level backing store for window DCs.
// Clipping is the intersection of the system clip (set by the window manager: the part of the
// window that may be painted, in surface pixels) and the DC's own clip region (SelectClipRgn and
// friends, in device pixels).
//
// Drawing code obtains a DrawingScope: it holds a cairo context with the logical-to-surface
// transform and the clip applied, and direct pixel access for the raster rules cairo lacks
// (ROPs, exact GDI spans). For a DIB section whose bits are not the surface itself (bottom-up,
// or not 32 bits), the bits are read into the surface on the first Pixels() or Cairo() call.
// Ending the scope publishes the change: such DIB pixels are written back; for a window, the
// damaged rectangle is reported so the backend can present it. Code that draws through Pixels()
// reports what it changed with AddDamage(); drawing through Cairo() counts as changing the
// whole clip.

#include <cairo.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/CopyableRegion.h"
#include "platform/core/OwnedHandles.h"
#include "platform/core/WinTypes.h"
#include "platform/gdi/internal/CairoContextCache.h"

namespace kestrel::platform {

class GdiObject;

// Direct access to a surface's pixels: 32-bit 0xAARRGGBB words (cairo's native-endian ARGB32,
// which has the byte order B, G, R, A of a 32-bit DIB scan line). Rows are top-down.
struct PixelView {
  std::uint32_t* data = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // in 32-bit words
  std::uint32_t* Row(int y) const { return data + static_cast<std::ptrdiff_t>(y) * stride; }
};

// Copies own a copy of the clip region (SaveDC keeps whole states).
struct DeviceContextState {
  POINT windowOrg{};
  POINT viewportOrg{};
  CopyableRegion clip;  // DC clip region in device pixels; null = none
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;
  HGDIOBJ palette = nullptr;
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = 2;          // OPAQUE
  UINT textAlign = 0;      // TA_LEFT | TA_TOP | TA_NOUPDATECP
  int rop2 = 13;           // R2_COPYPEN
  int stretchBltMode = 1;  // BLACKONWHITE
  int polyFillMode = 1;    // ALTERNATE
  int charExtra = 0;
  POINT currentPosition{};
  POINT brushOrg{};
  COLORREF dcBrushColor = 0xFFFFFF;  // DC_BRUSH
  COLORREF dcPenColor = 0x000000;    // DC_PEN
  int mapMode = 1;                   // MM_TEXT (extents 1:1), MM_ISOTROPIC or MM_ANISOTROPIC
  SIZE windowExt{1, 1};
  SIZE viewportExt{1, 1};
  int arcDirection = 1;  // AD_COUNTERCLOCKWISE
};

// The logical-to-device mapping of a state: device = (logical - windowOrg) * viewportExt /
// windowExt + viewportOrg, rounded to nearest, per axis (`vertical` picks y). Extents take part
// only in MM_ISOTROPIC and MM_ANISOTROPIC. Computed wide and saturated at ±2^40.
long long MapToDevice(const DeviceContextState& s, long long logical, bool vertical);
long long MapToLogical(const DeviceContextState& s, long long device, bool vertical);
// Whether the mapping scales (extents in use and not 1:1).
bool MappingScales(const DeviceContextState& s);
// Whether the mapping mirrors the x (or y) axis, so that a rectangle's corners swap.
bool MappingMirrors(const DeviceContextState& s, bool vertical);
// Whether the mapping only moves: one logical unit is one pixel, no axis mirrored.
bool MappingOnlyTranslates(const DeviceContextState& s);

class DeviceContext;

class DrawingScope {
 public:
  explicit DrawingScope(DeviceContext& dc);
  ~DrawingScope();
  DrawingScope(const DrawingScope&) = delete;
  DrawingScope& operator=(const DrawingScope&) = delete;

  // Cairo context on the target with the logical-to-surface transform and clip applied, created
  // on first use. Antialiasing is off, as GDI draws aliased.
  cairo_t* Cairo();
  // The whole target surface (callers must respect Clip()).
  PixelView Pixels();
  // The effective clip in surface pixels (system clip intersected with the DC clip), never null.
  const cairo_region_t* Clip();
  // Logical point to surface pixel (saturated at ±2^29).
  POINT ToSurface(POINT logical) const;
  // A logical rectangle's surface pixels; corners swap where the mapping mirrors an axis, so
  // that an ordered rectangle stays ordered.
  RECT ToSurface(const RECT& logical) const;
  // A surface rectangle in logical coordinates, ordered.
  RECT ToLogical(const RECT& surface) const;
  // Records that pixels inside `surfaceRect` changed.
  void AddDamage(const RECT& surfaceRect);
  bool HasTarget() const;
  // The target surface's pixel format (CAIRO_FORMAT_INVALID without a target).
  cairo_format_t Format() const;
  // The surface pixel value this DC draws for a COLORREF: opaque, reduced to what the target
  // holds (black or white on monochrome bitmaps, the nearest table entry on indexed DIBs).
  std::uint32_t DeviceColor(COLORREF color) const;
  // Whether the target is a device-dependent monochrome bitmap (blits convert colours between
  // it and colour surfaces by the text and background colours).
  bool IsMonochrome() const;
  // The memory DC's bitmap (a Bitmap object), null for other DCs.
  const std::shared_ptr<GdiObject>& TargetBitmap() const { return bitmap_; }

 private:
  void EnsureLoaded();
  // Whether neither the system nor the DC clips (the clip is the whole surface).
  bool Unclipped() const;
  cairo_rectangle_int_t ClipExtents();
  // Publishes and reports the damage, clipped.
  void ReportDamage();
  void ReportDamageWithin(const cairo_rectangle_int_t& area);

  DeviceContext& dc_;
  std::shared_ptr<GdiObject> bitmap_;  // keeps a memory DC's bitmap alive for the scope
  bool loaded_ = false;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cairo_ = nullptr;  // from the DC's context cache
  CairoRegion clip_;
  RECT damage_{};
  bool damaged_ = false;
};

class DeviceContext {
 public:
  enum class Kind { Memory, Window, Info };

  explicit DeviceContext(Kind kind);
  ~DeviceContext();

  Kind GetKind() const { return kind_; }
  DeviceContextState& State() { return state_; }
  const DeviceContextState& State() const { return state_; }

  // The surface drawn on. For memory DCs it is the selected bitmap's surface (a 1×1 monochrome
  // stock bitmap by default), for window DCs the backing store set by the window manager.
  cairo_surface_t* Surface() const;
  // Window DCs: the backing store (referenced, not owned; the window manager keeps it alive
  // while the DC exists), where device (0,0) lies in it, and the system clip (taken over; null
  // for the whole surface).
  void SetWindowSurface(cairo_surface_t* surface, POINT surfaceOrigin, cairo_region_t* systemClip);
  POINT SurfaceOrigin() const { return surfaceOrigin_; }
  // System clip in surface pixels; null = the whole surface.
  const cairo_region_t* SystemClip() const { return systemClip_.get(); }
  void SetSystemClip(cairo_region_t* regionTakenOver);
  // Lets go of the cairo context kept between drawing calls (the target surface changed).
  void DropCachedCairo() { cairoCache_.Clear(); }

  // Called with a damaged rectangle in surface pixels whenever a drawing scope ends.
  std::function<void(const RECT&)> onDamage;
  // The window this DC belongs to (window DCs), as an opaque value for the window manager.
  HWND window = nullptr;

  std::vector<DeviceContextState>& SavedStates() { return saved_; }

 private:
  friend class DrawingScope;
  Kind kind_;
  DeviceContextState state_;
  std::vector<DeviceContextState> saved_;
  cairo_surface_t* windowSurface_ = nullptr;  // referenced
  POINT surfaceOrigin_{};
  CairoRegion systemClip_;
  CairoContextCache cairoCache_;
};

// The checked table behind HDC values.
HDC RegisterDeviceContext(std::shared_ptr<DeviceContext> dc);
std::shared_ptr<DeviceContext> LookupDeviceContext(HDC hdc);
std::shared_ptr<DeviceContext> UnregisterDeviceContext(HDC hdc);

// The DC behind `hdc`, or null with ERROR_INVALID_HANDLE set.
std::shared_ptr<DeviceContext> DcOrFail(HDC hdc);
// Likewise, and null with ERROR_INVALID_PARAMETER when the `required` argument is null.
std::shared_ptr<DeviceContext> DcOrFail(HDC hdc, const void* required);

}  // namespace kestrel::platform
