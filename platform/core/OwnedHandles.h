#pragma once
// Owning wrappers for the C libraries' objects the platform uses: cairo contexts, surfaces,
// regions, patterns and font options; pango contexts, layouts, layout iterators, attribute lists
// and font descriptions; fontconfig configurations, patterns, character sets, font sets and object sets;
// and blocks from malloc. Each is a std::unique_ptr whose deleter calls the library's own release
// function; `Adopt` wraps a pointer a library call has just returned.

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>

// Declared as pango and GObject declare them: pango.h drags in glib's TRUE/FALSE macros, which
// clash with the platform's own constants.
extern "C" {
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoFontDescription PangoFontDescription;
typedef struct _PangoContext PangoContext;
typedef struct _PangoLayoutIter PangoLayoutIter;
typedef struct _PangoAttrList PangoAttrList;
void g_object_unref(void* object);
void pango_font_description_free(PangoFontDescription* description);
void pango_layout_iter_free(PangoLayoutIter* iter);
void pango_attr_list_unref(PangoAttrList* list);
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

struct FreeMemory {
  void operator()(void* p) const noexcept { std::free(p); }
};

using CairoContext = std::unique_ptr<cairo_t, ReleaseWith<cairo_t, cairo_destroy>>;
using CairoSurface = std::unique_ptr<cairo_surface_t, ReleaseWith<cairo_surface_t, cairo_surface_destroy>>;
using CairoRegion = std::unique_ptr<cairo_region_t, ReleaseWith<cairo_region_t, cairo_region_destroy>>;
using CairoPattern = std::unique_ptr<cairo_pattern_t, ReleaseWith<cairo_pattern_t, cairo_pattern_destroy>>;
using CairoFontOptions =
    std::unique_ptr<cairo_font_options_t, ReleaseWith<cairo_font_options_t, cairo_font_options_destroy>>;
using PangoContextPtr = std::unique_ptr<PangoContext, UnrefObject<PangoContext>>;
using PangoLayoutPtr = std::unique_ptr<PangoLayout, UnrefObject<PangoLayout>>;
using PangoLayoutIterPtr = std::unique_ptr<PangoLayoutIter, ReleaseWith<PangoLayoutIter, pango_layout_iter_free>>;
using PangoAttrListPtr = std::unique_ptr<PangoAttrList, ReleaseWith<PangoAttrList, pango_attr_list_unref>>;
using PangoFontDescriptionPtr =
    std::unique_ptr<PangoFontDescription, ReleaseWith<PangoFontDescription, pango_font_description_free>>;
using FcConfigPtr = std::unique_ptr<FcConfig, ReleaseWith<FcConfig, FcConfigDestroy>>;
using FcCharSetPtr = std::unique_ptr<FcCharSet, ReleaseWith<FcCharSet, FcCharSetDestroy>>;
using FcPatternPtr = std::unique_ptr<FcPattern, ReleaseWith<FcPattern, FcPatternDestroy>>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, ReleaseWith<FcFontSet, FcFontSetDestroy>>;
using FcObjectSetPtr = std::unique_ptr<FcObjectSet, ReleaseWith<FcObjectSet, FcObjectSetDestroy>>;
// A block from malloc/calloc, released with free.
template <class T>
using MallocPtr = std::unique_ptr<T, FreeMemory>;

template <class Owned>
Owned Adopt(typename Owned::pointer p) {
  return Owned(p);
}

}  // namespace kestrel::platform
