// Painting: backing stores, visible regions, update regions and WM_PAINT, window DCs.

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/core/OwnedHandles.h"
#include "platform/core/ProcessWide.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Region.h"
#include "platform/window/Backend.h"
#include "platform/window/BorrowedDC.h"
#include "platform/window/Caret.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/BackingScroll.h"
#include "platform/window/internal/FrameLayout.h"
#include "platform/window/internal/WindowClass.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

CairoRegion RegionOf(const RECT& r) {
  if (RectEmpty(r)) return CairoRegion(cairo_region_create());
  cairo_rectangle_int_t c{r.left, r.top, r.right - r.left, r.bottom - r.top};
  return CairoRegion(cairo_region_create_rectangle(&c));
}

// A copy of `region`, or an empty region for none.
CairoRegion CopyOrEmpty(const cairo_region_t* region) {
  return CairoRegion(region ? cairo_region_copy(region) : cairo_region_create());
}

RECT Extents(const cairo_region_t* region) {
  cairo_rectangle_int_t e;
  cairo_region_get_extents(region, &e);
  return {e.x, e.y, e.x + e.width, e.y + e.height};
}

void IntersectRect(cairo_region_t* region, const RECT& r) {
  cairo_rectangle_int_t c{r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top)};
  cairo_region_intersect_rectangle(region, &c);
}

void SubtractRect(cairo_region_t* region, const RECT& r) {
  if (RectEmpty(r)) return;
  cairo_rectangle_int_t c{r.left, r.top, r.right - r.left, r.bottom - r.top};
  cairo_region_subtract_rectangle(region, &c);
}

// The offset from a window's parent-client coordinates to its top-level window's coordinates.
POINT ParentToTop(const Window& w) {
  Window* top = const_cast<Window&>(w).TopLevel();
  if (&w == top) return {-w.window.left, -w.window.top};
  POINT p = w.parent->ClientScreenOrigin(), t = top->ScreenOrigin();
  return {p.x - t.x, p.y - t.y};
}

RECT InTop(const Window& w, const RECT& parentRect) {
  POINT o = ParentToTop(w);
  return OffsetRectBy(parentRect, o.x, o.y);
}

void IntersectWindowRegion(cairo_region_t* region, const Window& w) {
  auto rgn = LookupGdi<Region>(w.windowRegion);
  if (!rgn) return;
  CairoRegion copy(cairo_region_copy(rgn->Get()));
  RECT at = InTop(w, w.window);
  cairo_region_translate(copy.get(), at.left, at.top);
  cairo_region_intersect(region, copy.get());
}

// The area a window covers in its top-level window: its rectangle, cut to its region.
void SubtractShape(cairo_region_t* region, const Window& w) {
  CairoRegion shape = RegionOf(InTop(w, w.window));
  IntersectWindowRegion(shape.get(), w);
  cairo_region_subtract(region, shape.get());
}

// The part of a window that may be painted, in its top-level window's coordinates.
CairoRegion VisibleRegion(Window& w, bool whole, bool clipChildren, bool clipSiblings) {
  Window* top = w.TopLevel();
  if (!w.IsReallyVisible() || !top->backing) return CairoRegion(cairo_region_create());
  CairoRegion owned = RegionOf(InTop(w, whole ? w.window : w.client));
  cairo_region_t* region = owned.get();
  IntersectWindowRegion(region, w);
  for (Window* x = &w; x != top && x->parent; x = x->parent) {
    Window* p = x->parent;
    IntersectRect(region, InTop(*p, p->client));
    if ((x->style & WS_CLIPSIBLINGS) || (x == &w && clipSiblings)) {
      for (auto& s : p->children) {
        if (s.get() == x) break;
        if (s->IsVisible()) SubtractShape(region, *s);
      }
    }
    if (p != top) IntersectWindowRegion(region, *p);
  }
  IntersectRect(region, {0, 0, top->Width(), top->Height()});
  if (top != &w) IntersectWindowRegion(region, *top);
  if (clipChildren)
    for (auto& c : w.children)
      if (c->IsVisible()) SubtractShape(region, *c);
  return owned;
}

struct DcRecord {
  HWND hwnd = nullptr;
  CairoSurface surface;  // a reference held while the DC is out
};

std::mutex& DcMutex() {
  static std::mutex mutex;
  return mutex;
}

// The device contexts handed out; they belong to their callers, so a reset keeps them.
using DcRecordMap = std::map<HDC, DcRecord>;
constinit ProcessWide<DcRecordMap> gDcRecords(ProcessWideOptions<DcRecordMap>{.keptByReset = true});

DcRecordMap& DcRecords() { return *gDcRecords; }

void AddDamage(HWND top, const RECT& r) {
  auto w = Wm().Lookup(top);
  if (w) w->damage.Add(r);
}

// Paints of this thread now running (HoldPresents); only the painting thread draws.
thread_local int tPresentHolds = 0;

void FlushPresents(Window& top) {
  if (top.damage.Empty() || !top.backing) return;
  const DamageList dirty = std::exchange(top.damage, {});
  if (!Wm().HasBackend()) return;
  Wm().GetBackend().Present(top.handle, top.backing.get(), dirty.Rects());
}

void PresentAll() {
  for (auto& top : Wm().Desktop().children) FlushPresents(*top);
}

// Scrolls `area` of the top-level window's pixels by (dx, dy): in the backing store, and on the
// screen by the display itself where it can (the screen first shows everything changed before,
// so that it moves the same pixels); otherwise the moved area is presented like any change.
void MovePixels(Window& top, const cairo_region_t* area, int dx, int dy) {
  FlushPresents(top);
  detail::MoveStorePixels(top.backing.get(), area, dx, dy);
  if (Wm().HasBackend() && Wm().GetBackend().MoveNativePixels(top.handle, area, dx, dy)) return;
  AddDamage(top.handle, Extents(area));
}

// Points `dc` at the backing store of w's top-level window, where w's area lies, clipped to
// what is visible of it (and to `extra`); the DC record keeps the store alive.
void TargetWindowDC(HDC hdc, DeviceContext& dc, Window& w, bool whole, bool clipChildren, bool clipSiblings,
                    cairo_region_t* extra) {
  Window* top = w.TopLevel();
  CairoRegion clip = VisibleRegion(w, whole, clipChildren, clipSiblings);
  if (extra) cairo_region_intersect(clip.get(), extra);
  RECT at = InTop(w, whole ? w.window : w.client);
  CairoSurface held(top->backing ? cairo_surface_reference(top->backing.get()) : nullptr);
  dc.SetWindowSurface(top->backing.get(), {at.left, at.top}, clip.release());
  HWND topHandle = top->handle;
  dc.onDamage = [topHandle](const RECT& r) { AddDamage(topHandle, r); };
  CairoSurface previous;  // let go outside the lock
  {
    std::lock_guard lock(DcMutex());
    auto& record = DcRecords()[hdc];
    previous = std::move(record.surface);
    record.hwnd = w.handle;
    record.surface = std::move(held);
  }
}

// A DC on `w`: the window area (frame included) when `whole`, else the client area. A window
// of a CS_OWNDC class gets its private client DC back each time, aimed afresh but keeping the
// objects, colours and modes selected into it (unless `cache` asks for a fresh one).
HDC MakeWindowDC(Window& w, bool whole, bool clipChildren, bool clipSiblings, cairo_region_t* extra,
                 bool cache = false) {
  bool own = !whole && !cache && !w.IsRoot() && w.windowClass && (w.windowClass->style & CS_OWNDC);
  std::shared_ptr<DeviceContext> dc = own && w.ownDC ? LookupDeviceContext(w.ownDC) : nullptr;
  HDC hdc = dc ? w.ownDC : nullptr;
  if (!dc) {
    dc = std::make_shared<DeviceContext>(DeviceContext::Kind::Window);
    dc->window = w.handle;
    hdc = RegisterDeviceContext(dc);
    if (own) w.ownDC = hdc;
  }
  TargetWindowDC(hdc, *dc, w, whole, clipChildren, clipSiblings, extra);
  return hdc;
}

LRESULT Send(Window& w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return CallWindow(w, msg, wParam, lParam); }

bool NeedsPaint(const Window& w) {
  return (w.update && !cairo_region_is_empty(w.update.get())) || w.internalPaint || w.ncPaintPending;
}

bool IncludeChildren(const Window& w, UINT flags) {
  if (flags & RDW_ALLCHILDREN) return true;
  if (flags & RDW_NOCHILDREN) return false;
  return !(w.style & WS_CLIPCHILDREN);
}

// Adds or removes `area` (window coordinates of `w`) in the update state of w and its children.
void ChangeUpdate(Window& w, const cairo_region_t* area, UINT flags) {
  if (!w.IsReallyVisible() || (!w.redraw && (flags & RDW_INVALIDATE))) return;
  RECT bounds = (flags & RDW_FRAME) ? RECT{0, 0, w.Width(), w.Height()} : w.ClientInWindow();
  CairoRegion owned(cairo_region_copy(area));
  cairo_region_t* part = owned.get();
  IntersectRect(part, bounds);
  if (flags & RDW_INVALIDATE) {
    if (!cairo_region_is_empty(part)) {
      if (!w.update) w.update.reset(cairo_region_create());
      cairo_region_union(w.update.get(), part);
      if (flags & RDW_ERASE) w.erasePending = true;
      CairoRegion nc(cairo_region_copy(part));
      SubtractRect(nc.get(), w.ClientInWindow());
      if ((flags & RDW_FRAME) && !cairo_region_is_empty(nc.get())) w.ncPaintPending = true;
    }
    if (flags & RDW_INTERNALPAINT) w.internalPaint = true;
  } else if (flags & RDW_VALIDATE) {
    if (w.update) cairo_region_subtract(w.update.get(), part);
    if (flags & RDW_NOERASE) w.erasePending = false;
    if (flags & RDW_NOFRAME) w.ncPaintPending = false;
    if (flags & RDW_NOINTERNALPAINT) w.internalPaint = false;
    if (!w.update || cairo_region_is_empty(w.update.get())) {
      w.erasePending = false;
      w.ncPaintPending = false;
    }
  }
  if (IncludeChildren(w, flags)) {
    RECT client = w.ClientInWindow();
    for (auto& c : w.children) {
      if (!c->IsVisible()) continue;
      CairoRegion childPart(cairo_region_copy(part));
      IntersectRect(childPart.get(), client);
      // Child window coordinates: its corner sits at client origin + its position.
      cairo_region_translate(childPart.get(), -(client.left + c->window.left), -(client.top + c->window.top));
      ChangeUpdate(*c, childPart.get(), flags | RDW_FRAME);
    }
  }
}

void EraseNow(Window& w) {
  if (w.ncPaintPending) {
    w.ncPaintPending = false;
    Send(w, WM_NCPAINT, 1);
  }
  if (w.erasePending && w.update) {
    w.erasePending = false;
    CairoRegion upd(cairo_region_copy(w.update.get()));
    RECT at = InTop(w, w.window);
    cairo_region_translate(upd.get(), at.left, at.top);
    BorrowedDC dc(w.handle, MakeWindowDC(w, false, (w.style & WS_CLIPCHILDREN) != 0, (w.style & WS_CLIPSIBLINGS) != 0,
                                         upd.get()));
    Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()));
  }
}

void UpdateNow(Window& w, UINT flags) {
  auto self = detail::SharedOf(&w);
  if (!self) return;
  if (flags & RDW_UPDATENOW) {
    if (NeedsPaint(w) && w.IsReallyVisible()) Send(w, WM_PAINT);
  } else if (flags & RDW_ERASENOW) {
    EraseNow(w);
  }
  if (w.destroyed || !IncludeChildren(w, flags)) return;
  auto children = w.children;
  for (auto& c : children)
    if (!c->destroyed) UpdateNow(*c, flags);
}

// The area to redraw, in window coordinates; null region or rectangle = everything.
CairoRegion AreaFromArguments(Window& w, const RECT* rect, HRGN region, UINT flags) {
  RECT client = w.ClientInWindow();
  if (auto rgn = LookupGdi<Region>(region)) {
    CairoRegion area(cairo_region_copy(rgn->Get()));
    cairo_region_translate(area.get(), client.left, client.top);
    return area;
  }
  if (rect) return RegionOf(OffsetRectBy(*rect, client.left, client.top));
  return RegionOf((flags & RDW_FRAME) ? RECT{0, 0, w.Width(), w.Height()} : client);
}

}  // namespace

namespace detail {

void CreateBackingStore(Window& top) {
  top.backing.reset(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(top.Width(), 1), std::max(top.Height(), 1)));
}

void ResizeBackingStore(Window& top) {
  CairoSurface old = std::move(top.backing);
  CreateBackingStore(top);
  if (!old) return;
  // Keep what was there; the exposed parts get repainted.
  CairoContext cr(cairo_create(top.backing.get()));
  cairo_set_source_surface(cr.get(), old.get(), 0, 0);
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr.get());
}

void InvalidateArea(Window& window, const RECT& area, UINT rdwFlags) {
  CairoRegion region = RegionOf(area);
  ChangeUpdate(window, region.get(), rdwFlags);
}

void InvalidateWhole(Window& window, UINT rdwFlags) {
  InvalidateArea(window, {0, 0, window.Width(), window.Height()}, rdwFlags | RDW_FRAME);
}

void InvalidateParentArea(Window& window, const RECT& parentClientArea) {
  Window* p = window.parent;
  if (!p || p->IsRoot()) return;
  RECT c = p->ClientInWindow();
  InvalidateArea(*p, OffsetRectBy(parentClientArea, c.left, c.top),
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

HWND NextWindowToPaint(std::thread::id thread, HWND filter) {
  std::vector<Window*> stack;
  auto& tops = Wm().Desktop().children;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    Window* w = stack.back();
    stack.pop_back();
    if (!w->IsVisible() || w->destroyed) continue;
    if (w->thread == thread && NeedsPaint(*w) && (!filter || w->handle == filter || IsChild(filter, w->handle)))
      return w->handle;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) stack.push_back(it->get());
  }
  return nullptr;
}

void DropPaintState(Window& window) {
  window.update.reset();
  window.erasePending = window.ncPaintPending = window.internalPaint = false;
  window.backing.reset();
  window.damage.Clear();
}

void DeleteWindowRegion(Window& window) { OwnedRegion(std::exchange(window.windowRegion, nullptr)).reset(); }

void ReleaseOwnDC(Window& window) { BorrowedDC(window.handle, std::exchange(window.ownDC, nullptr)); }

void ApplyNativeShape(Window& window) {
  if (!window.IsTopLevel() || window.parent != &Wm().Desktop() || !Wm().HasBackend()) return;
  auto region = LookupGdi<Region>(window.windowRegion);
  Wm().GetBackend().SetNativeShape(window.handle, region ? region->Get() : nullptr);
}

bool PointInWindowRegion(Window& window, POINT windowPoint) {
  if (!window.windowRegion) return true;
  return PtInRegion(window.windowRegion, windowPoint.x, windowPoint.y) != FALSE;
}

void FlushAllPresents() {
  if (tPresentHolds == 0) PresentAll();
}

void PresentHeld() {
  if (tPresentHolds > 0) PresentAll();
}

void HoldPresents() { ++tPresentHolds; }

void ReleasePresents() {
  if (--tPresentHolds == 0) PresentAll();
}

}  // namespace detail

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  if (!hwnd) {
    // A WM_PAINT handler may create or destroy top-level windows: walk a copy of the handles.
    std::vector<HWND> tops;
    for (auto& top : Wm().Desktop().children) tops.push_back(top->handle);
    for (HWND top : tops) RedrawWindow(top, nullptr, nullptr, flags);
    return TRUE;
  }
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  if (w->IsRoot()) return TRUE;
  if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT | RDW_NOINTERNALPAINT)) {
    CairoRegion area = AreaFromArguments(*w, rect, region, flags);
    ChangeUpdate(*w, area.get(), flags);
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateNow(*w, flags);
  detail::FlushAllPresents();
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
  if (!region) return InvalidateRect(hwnd, nullptr, erase);
  if (!LookupGdi<Region>(region)) return FALSE;
  return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
  if (region && !LookupGdi<Region>(region)) return FALSE;
  return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  RECT client = w->ClientInWindow();
  RECT box{};
  if (w->update) {
    CairoRegion part(cairo_region_copy(w->update.get()));
    IntersectRect(part.get(), client);
    if (!cairo_region_is_empty(part.get())) box = OffsetRectBy(Extents(part.get()), -client.left, -client.top);
  }
  if (erase && !RectEmpty(box)) EraseNow(*w);
  if (rect) *rect = box;
  return RectEmpty(box) ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
  auto w = ValidWindow(hwnd);
  auto rgn = LookupGdi<Region>(region);
  if (!w || !rgn) return 0;  // ERROR
  RECT client = w->ClientInWindow();
  CairoRegion part = CopyOrEmpty(w->update.get());
  IntersectRect(part.get(), client);
  cairo_region_translate(part.get(), -client.left, -client.top);
  if (erase && !cairo_region_is_empty(part.get())) EraseNow(*w);
  rgn->Replace(part.release());
  return rgn->Complexity();
}

BOOL UpdateWindow(HWND hwnd) { return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  auto w = ValidWindow(hwnd);
  if (!w || !paint) return nullptr;
  if (w->ncPaintPending) {
    w->ncPaintPending = false;
    Send(*w, WM_NCPAINT, 1);
    if (w->destroyed) return nullptr;
  }
  RECT client = w->ClientInWindow();
  CairoRegion upd = CopyOrEmpty(w->update.get());
  IntersectRect(upd.get(), client);
  RECT box = cairo_region_is_empty(upd.get()) ? RECT{} : OffsetRectBy(Extents(upd.get()), -client.left, -client.top);
  // Painting validates the window.
  w->update.reset();
  w->internalPaint = false;
  bool erase = w->erasePending;
  w->erasePending = false;
  RECT at = InTop(*w, w->window);
  cairo_region_translate(upd.get(), at.left, at.top);
  HDC hdc = MakeWindowDC(*w, false, (w->style & WS_CLIPCHILDREN) != 0, (w->style & WS_CLIPSIBLINGS) != 0, upd.get());
  *paint = PAINTSTRUCT{};
  paint->hdc = hdc;
  paint->rcPaint = box;
  if (erase) paint->fErase = Send(*w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc)) ? FALSE : TRUE;
  w->painting = true;
  w->caretHidden = HideCaret(hwnd) != FALSE;  // the caret would be painted over
  return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  ReleaseDC(hwnd, paint->hdc);
  if (auto w = Wm().Lookup(hwnd)) {
    w->painting = false;
    if (w->caretHidden) ShowCaret(hwnd);
    w->caretHidden = false;
  }
  return TRUE;
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  if (!hwnd) {
    // The screen: a DC on a desktop-sized surface, so it can be drawn on, read and imitated.
    Window& desktop = Wm().Desktop();
    if (!desktop.backing) detail::CreateBackingStore(desktop);
    return MakeWindowDC(desktop, false, false, false, nullptr);
  }
  auto w = ValidWindow(hwnd);
  if (!w) return nullptr;
  CairoRegion extra;
  RECT at = InTop(*w, (flags & DCX_WINDOW) ? w->window : w->client);
  if (auto rgn = LookupGdi<Region>(clip); rgn && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    // The region is in the DC's own coordinates; DCX_EXCLUDERGN keeps what lies outside it.
    CairoRegion r(cairo_region_copy(rgn->Get()));
    cairo_region_translate(r.get(), at.left, at.top);
    if (flags & DCX_EXCLUDERGN) {
      extra = RegionOf({at.left, at.top, at.left + w->Width(), at.top + w->Height()});
      cairo_region_subtract(extra.get(), r.get());
    } else {
      extra = std::move(r);
    }
  }
  if (flags & DCX_INTERSECTUPDATE) {
    CairoRegion upd = CopyOrEmpty(w->update.get());
    RECT corner = InTop(*w, w->window);
    cairo_region_translate(upd.get(), corner.left, corner.top);
    if (extra) cairo_region_intersect(extra.get(), upd.get());
    else extra = std::move(upd);
  }
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (!(flags & DCX_WINDOW) && (w->style & WS_CLIPCHILDREN));
  bool clipSiblings = (flags & DCX_CLIPSIBLINGS) != 0;
  return MakeWindowDC(*w, (flags & DCX_WINDOW) != 0, clipChildren, clipSiblings, extra.get(), (flags & DCX_CACHE) != 0);
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, 0); }

HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW); }

int ReleaseDC(HWND, HDC hdc) {
  HWND hwnd;
  {
    std::lock_guard lock(DcMutex());
    auto it = DcRecords().find(hdc);
    if (it == DcRecords().end()) return 0;
    hwnd = it->second.hwnd;
  }
  auto owner = Wm().Lookup(hwnd);
  if (owner && owner->ownDC == hdc) {  // a private DC stays with its window
    detail::FlushAllPresents();
    return 1;
  }
  CairoSurface surface;
  {
    std::lock_guard lock(DcMutex());
    if (auto it = DcRecords().find(hdc); it != DcRecords().end()) {
      surface = std::move(it->second.surface);
      DcRecords().erase(it);
    }
  }
  UnregisterDeviceContext(hdc);
  surface.reset();
  detail::FlushAllPresents();
  return 1;
}

HWND WindowFromDC(HDC hdc) {
  std::lock_guard lock(DcMutex());
  auto it = DcRecords().find(hdc);
  return it == DcRecords().end() ? nullptr : it->second.hwnd;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return 0;
  if (region && !LookupGdi<Region>(region)) return 0;
  if (w->windowRegion == region) return 1;
  detail::DeleteWindowRegion(*w);
  w->windowRegion = region;  // the window owns it from now on
  detail::ApplyNativeShape(*w);
  if (redraw && w->IsVisible()) {
    detail::InvalidateParentArea(*w, w->window);
    detail::InvalidateWhole(*w, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
  auto w = ValidWindow(hwnd);
  auto own = w ? LookupGdi<Region>(w->windowRegion) : nullptr;
  auto out = LookupGdi<Region>(region);
  if (!own || !out) return 0;  // ERROR: no window region
  out->Replace(cairo_region_copy(own->Get()));
  return out->Complexity();
}

BOOL ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
                    UINT flags) {
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  RECT client{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  RECT area = scroll ? IntersectRects(*scroll, client) : client;
  RECT limit = clip ? IntersectRects(*clip, client) : client;
  RECT dest = IntersectRects(OffsetRectBy(area, dx, dy), limit);
  Window* top = w->TopLevel();
  RECT at = InTop(*w, w->client);
  if (top->backing && !RectEmpty(dest)) {
    CairoRegion moved = VisibleRegion(*w, false, (w->style & WS_CLIPCHILDREN) != 0, (w->style & WS_CLIPSIBLINGS) != 0);
    IntersectRect(moved.get(), OffsetRectBy(dest, at.left, at.top));
    if (!cairo_region_is_empty(moved.get())) MovePixels(*top, moved.get(), dx, dy);
  }
  // What the scroll uncovered inside the clip needs repainting.
  CairoRegion uncovered = RegionOf(IntersectRects(area, limit));
  SubtractRect(uncovered.get(), dest);
  RECT box = cairo_region_is_empty(uncovered.get()) ? RECT{} : Extents(uncovered.get());
  if (updateRect) *updateRect = box;
  if (auto rgn = LookupGdi<Region>(update)) rgn->Replace(cairo_region_copy(uncovered.get()));
  if (flags & SW_SCROLLCHILDREN) {
    for (auto& c : w->children)
      if (PointInRect(area, {c->window.left, c->window.top}))
        SetWindowPos(c->handle, nullptr, c->window.left + dx, c->window.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  if (flags & SW_INVALIDATE) {
    RECT c = w->ClientInWindow();
    cairo_region_translate(uncovered.get(), c.left, c.top);
    ChangeUpdate(*w, uncovered.get(), RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0));
  }
  detail::FlushAllPresents();
  return TRUE;
}

cairo_surface_t* GetWindowBackingStore(HWND hwnd, POINT* windowOrigin) {
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return nullptr;
  Window* top = w->TopLevel();
  if (windowOrigin) {
    RECT at = InTop(*w, w->window);
    *windowOrigin = {at.left, at.top};
  }
  return top->backing.get();
}

cairo_surface_t* CaptureWindowImage(HWND hwnd) {
  POINT origin{};
  cairo_surface_t* backing = GetWindowBackingStore(hwnd, &origin);
  auto w = Wm().Lookup(hwnd);
  if (!backing || !w) return nullptr;
  cairo_surface_flush(backing);
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(w->Width(), 1), std::max(w->Height(), 1));
  CairoContext cr(cairo_create(image));
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr.get(), backing, -origin.x, -origin.y);
  cairo_paint(cr.get());
  return image;
}

}  // namespace kestrel::platform
