#include "platform/gdiplus/internal/StringLayout.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/core/OwnedHandles.h"
#include "platform/core/Unicode.h"
#include "platform/text/internal/FontConfiguration.h"
#include "platform/text/internal/TextLayout.h"

namespace kestrel::platform {

namespace {

// Pango's font maps are not thread-safe: every layout holds this while it lives.
std::mutex& PangoMutex() {
  static std::mutex mutex;
  return mutex;
}

// One font map over the private configuration, for the life of the process.
PangoFontMap* FontMap() {
  static PangoFontMap* map = [] {
    PangoFontMap* created = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (created && PANGO_IS_FC_FONT_MAP(created))
      pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(created), PrivateFontConfig());
    return created;
  }();
  return map;
}

bool GridFit(TextRenderingHint hint) {
  return hint != TextRenderingHintAntiAlias && hint != TextRenderingHintSingleBitPerPixel;
}

bool SingleBit(TextRenderingHint hint) {
  return hint == TextRenderingHintSingleBitPerPixel || hint == TextRenderingHintSingleBitPerPixelGridFit;
}

double Units(int pango) { return static_cast<double>(pango) / PANGO_SCALE; }

// Byte offset in the UTF-8 form of `text` of UTF-16 unit `unit`.
int ByteOffset(std::u16string_view text, int unit) {
  return static_cast<int>(Utf16ToUtf8(text.substr(0, static_cast<size_t>(unit))).size());
}

// How many units of `source` make the first `shown` units of the text shown (prefixes removed).
INT SourceUnits(std::u16string_view source, bool prefixes, size_t shown) {
  if (!prefixes) return static_cast<INT>(shown);
  if (shown >= StripPrefixes(source, nullptr).size()) return static_cast<INT>(source.size());
  size_t low = 0, high = source.size();  // the shortest source prefix showing `shown` units
  while (low < high) {
    const size_t middle = (low + high) / 2;
    if (StripPrefixes(source.substr(0, middle), nullptr).size() < shown) low = middle + 1;
    else high = middle;
  }
  return static_cast<INT>(low);
}

PangoFontDescription* Describe(const TGPFont& font) {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, font.Family().FaceFamily().c_str());
  pango_font_description_set_weight(description,
                                    (font.GetStyle() & FontStyleBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description,
                                   (font.GetStyle() & FontStyleItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(description, font.EmPixels() * PANGO_SCALE);
  return description;
}

PangoAlignment PangoAlign(StringAlignment alignment) {
  switch (alignment) {
    case StringAlignmentCenter: return PANGO_ALIGN_CENTER;
    case StringAlignmentFar: return PANGO_ALIGN_RIGHT;
    default: return PANGO_ALIGN_LEFT;
  }
}

// Where a block `size` long starts when aligned in [start, start + room) (room 0: on `start`).
double Place(StringAlignment alignment, double start, double room, double size, double pad) {
  switch (alignment) {
    case StringAlignmentCenter: return start + (room - size) / 2;
    case StringAlignmentFar: return start + room - pad - size;
    default: return start + pad;
  }
}

}  // namespace

struct StringLayout::Impl {
  std::unique_lock<std::mutex> lock{PangoMutex()};
  PangoContextPtr context;
  PangoLayoutPtr layout;  // declared after its context, so it goes first
  int shownLines = 0;     // lines drawn, from the first
  double x = 0, y = 0;    // where the layout's origin goes
  bool antialias = true;
};

StringLayout::StringLayout(const StringLayoutRequest& request) : impl_(std::make_unique<Impl>()) {
  const TGPStringFormat defaults;
  const TGPStringFormat& format = request.format ? *request.format : defaults;
  const TGPFont& font = *request.font;
  const TGPRectF& rect = request.rect;
  Impl& impl = *impl_;
  impl.antialias = !SingleBit(request.hint);

  PangoFontMap* map = FontMap();
  if (!map) return;
  impl.context.reset(pango_font_map_create_context(map));
  CairoFontOptions options(cairo_font_options_create());
  cairo_font_options_set_hint_metrics(options.get(),
                                      GridFit(request.hint) ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options.get(), impl.antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  pango_cairo_context_set_font_options(impl.context.get(), options.get());
  pango_context_set_round_glyph_positions(impl.context.get(), GridFit(request.hint));
  impl.layout.reset(pango_layout_new(impl.context.get()));

  // The shown text, with hot-key prefixes resolved.
  std::vector<int> prefixed;
  // The text ends at a NUL within the count, as a C string would.
  const std::u16string_view text = request.text.substr(0, request.text.find(u'\0'));
  String shown = format.GetHotkeyPrefix() == HotkeyPrefixNone ? String(text) : StripPrefixes(text, &prefixed);
  if (format.GetHotkeyPrefix() != HotkeyPrefixShow) prefixed.clear();
  const std::string utf8 = Utf16ToUtf8(shown);
  pango_layout_set_text(impl.layout.get(), utf8.c_str(), static_cast<int>(utf8.size()));
  PangoFontDescriptionPtr description(Describe(font));
  pango_layout_set_font_description(impl.layout.get(), description.get());

  PangoAttrListPtr attributes(pango_attr_list_new());
  auto add = [&](PangoAttribute* attribute, int start, int end) {
    attribute->start_index = static_cast<guint>(start);
    attribute->end_index = static_cast<guint>(end);
    pango_attr_list_insert(attributes.get(), attribute);
  };
  if (font.GetStyle() & FontStyleUnderline) add(pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), 0, -1);
  if (font.GetStyle() & FontStyleStrikeout) add(pango_attr_strikethrough_new(TRUE), 0, -1);
  for (int unit : prefixed)
    add(pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), ByteOffset(shown, unit), ByteOffset(shown, unit + 1));
  pango_layout_set_attributes(impl.layout.get(), attributes.get());

  // Right-to-left swaps near and far.
  StringAlignment alignment = format.GetAlignment();
  if (format.Has(StringFormatFlagsDirectionRightToLeft) && alignment != StringAlignmentCenter)
    alignment = alignment == StringAlignmentNear ? StringAlignmentFar : StringAlignmentNear;
  pango_layout_set_alignment(impl.layout.get(), PangoAlign(alignment));

  const double pad = format.Padded() ? font.EmPixels() / 6.0 : 0.0;
  const bool boundedWidth = !request.fromPoint && rect.Width > 0;
  const bool boundedHeight = !request.fromPoint && rect.Height > 0;
  const bool wraps = boundedWidth && !format.Has(StringFormatFlagsNoWrap);
  const StringTrimming trimming = format.GetTrimming();
  const bool ellipsis = trimming == StringTrimmingEllipsisCharacter || trimming == StringTrimmingEllipsisWord ||
                        trimming == StringTrimmingEllipsisPath;
  if (boundedWidth) {
    const double room = std::max(1.0, rect.Width - 2 * pad);
    if (wraps || ellipsis) pango_layout_set_width(impl.layout.get(), static_cast<int>(room * PANGO_SCALE));
    pango_layout_set_wrap(impl.layout.get(), PANGO_WRAP_WORD_CHAR);
    if (ellipsis && (!wraps || boundedHeight)) {
      pango_layout_set_ellipsize(impl.layout.get(),
                                 trimming == StringTrimmingEllipsisPath ? PANGO_ELLIPSIZE_MIDDLE : PANGO_ELLIPSIZE_END);
      if (wraps) pango_layout_set_height(impl.layout.get(), static_cast<int>(rect.Height * PANGO_SCALE));
    }
  }

  // The lines shown: all, or with a line limit those wholly inside the rectangle.
  PangoLayoutIterPtr iter(pango_layout_get_iter(impl.layout.get()));
  double left = HUGE_VAL, right = -HUGE_VAL, bottom = 0;
  int endByte = 0;
  do {
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter.get(), nullptr, &logical);
    const double lineBottom = Units(logical.y + logical.height);
    if (boundedHeight && format.Has(StringFormatFlagsLineLimit) && lineBottom > rect.Height + 0.001 &&
        impl.shownLines > 0)
      break;
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter.get());
    ++impl.shownLines;
    endByte = line->start_index + line->length;
    bottom = lineBottom;
    left = std::min(left, Units(logical.x));
    right = std::max(right, Units(logical.x + logical.width));
  } while (pango_layout_iter_next_line(iter.get()));
  iter.reset();
  if (utf8.empty()) {
    left = right = bottom = 0;
    impl.shownLines = 0;
  }
  lines_ = impl.shownLines;
  fitted_ = SourceUnits(text, format.GetHotkeyPrefix() != HotkeyPrefixNone,
                        Utf8ToUtf16(std::string_view(utf8).substr(0, static_cast<size_t>(endByte))).size());

  // Place the block: pango aligned the lines within its width when it has one, else within the
  // widest line.
  const double blockWidth = right - left;
  if (pango_layout_get_width(impl.layout.get()) > 0) impl.x = rect.X + pad;
  else impl.x = Place(alignment, rect.X, boundedWidth ? rect.Width : 0, blockWidth, pad) - left;
  impl.y = Place(format.GetLineAlignment(), rect.Y, boundedHeight ? rect.Height : 0, bottom, 0);
  clipped_ = boundedWidth && boundedHeight && !format.Has(StringFormatFlagsNoClip);
  clip_ = rect;
  double top = impl.y, end = impl.y + bottom;
  if (clipped_) {  // what shows of the block
    top = std::max<double>(top, rect.Y);
    end = std::max(top, std::min<double>(end, rect.GetBottom()));
  }
  bounds_ = {static_cast<REAL>(impl.x + left - pad), static_cast<REAL>(top),
             static_cast<REAL>(blockWidth > 0 ? blockWidth + 2 * pad : 0), static_cast<REAL>(end - top)};
}

StringLayout::~StringLayout() = default;

bool StringLayout::Antialiased() const { return impl_->antialias; }

void StringLayout::AppendPath(cairo_t* cr) const {
  if (!impl_->layout) return;
  PangoLayoutIterPtr iter(pango_layout_get_iter(impl_->layout.get()));
  int line = 0;
  do {
    if (line++ >= impl_->shownLines) break;
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter.get(), nullptr, &logical);
    cairo_move_to(cr, impl_->x + Units(logical.x), impl_->y + Units(pango_layout_iter_get_baseline(iter.get())));
    pango_cairo_layout_line_path(cr, pango_layout_iter_get_line_readonly(iter.get()));
  } while (pango_layout_iter_next_line(iter.get()));
}

}  // namespace kestrel::platform
