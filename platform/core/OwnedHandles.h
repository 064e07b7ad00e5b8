#pragma once
// Owning wrappers for the C libraries' objects the platform uses: cairo contexts, surfaces and
// regions, pango layouts and font descriptions, fontconfig patterns, font sets and object sets.
// Each is a std::unique_ptr whose deleter calls the library's own release function; `Adopt`
// wraps a pointer a library call has just returned.

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <memory>

// Declared as pango and GObject declare them: pango.h drags in glib's TRUE/FALSE macros, which
// clash with the platform's own constants.
extern "C" {
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoFontDescription PangoFontDescription;
void g_object_unref(void* object);
void pango_font_description_free(PangoFontDescription* description);
}

namespace kestrel::platform {

template <class T, void (*Release)(T*)>
struct ReleaseWith {
  void operator()(T* p) const noexcept {
    if (p) Release(p);
  }
};

template <class T>
struct UnrefObject {
  void operator()(T* p) const noexcept {
    if (p) g_object_unref(p);
  }
};

using CairoContext = std::unique_ptr<cairo_t, ReleaseWith<cairo_t, cairo_destroy>>;
using CairoSurface = std::unique_ptr<cairo_surface_t, ReleaseWith<cairo_surface_t, cairo_surface_destroy>>;
using CairoRegion = std::unique_ptr<cairo_region_t, ReleaseWith<cairo_region_t, cairo_region_destroy>>;
using PangoLayoutPtr = std::unique_ptr<PangoLayout, UnrefObject<PangoLayout>>;
using PangoFontDescriptionPtr =
    std::unique_ptr<PangoFontDescription, ReleaseWith<PangoFontDescription, pango_font_description_free>>;
using FcPatternPtr = std::unique_ptr<FcPattern, ReleaseWith<FcPattern, FcPatternDestroy>>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, ReleaseWith<FcFontSet, FcFontSetDestroy>>;
using FcObjectSetPtr = std::unique_ptr<FcObjectSet, ReleaseWith<FcObjectSet, FcObjectSetDestroy>>;

template <class Owned>
Owned Adopt(typename Owned::pointer p) {
  return Owned(p);
}

}  // namespace kestrel::platform
