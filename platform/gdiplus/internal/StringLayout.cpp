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

// The text as shown: hot-key prefix marks resolved, and the shown units to underline.
struct ShownText {
  String text;
  std::string utf8;
  std::vector<int> underlined;
};

ShownText ResolveHotkeyPrefixes(std::u16string_view text, HotkeyPrefix mode) {
  ShownText shown;
  shown.text = mode == HotkeyPrefixNone ? String(text) : StripPrefixes(text, &shown.underlined);
  if (mode != HotkeyPrefixShow) shown.underlined.clear();
  shown.utf8 = Utf16ToUtf8(shown.text);
  return shown;
}

// The text, the font and its underline/strike-out, and the underlined hot keys.
void SetTextAndAttributes(PangoLayout* layout, const ShownText& shown, const TGPFont& font) {
  pango_layout_set_text(layout, shown.utf8.c_str(), static_cast<int>(shown.utf8.size()));
  PangoFontDescriptionPtr description(Describe(font));
  pango_layout_set_font_description(layout, description.get());

  PangoAttrListPtr attributes(pango_attr_list_new());
  auto add = [&](PangoAttribute* attribute, int start, int end) {
    attribute->start_index = static_cast<guint>(start);
    attribute->end_index = static_cast<guint>(end);
    pango_attr_list_insert(attributes.get(), attribute);
  };
  if (font.GetStyle() & FontStyleUnderline) add(pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), 0, -1);
  if (font.GetStyle() & FontStyleStrikeout) add(pango_attr_strikethrough_new(TRUE), 0, -1);
  for (int unit : shown.underlined)
    add(pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), ByteOffset(shown.text, unit),
        ByteOffset(shown.text, unit + 1));
  pango_layout_set_attributes(layout, attributes.get());
}

// What the format and the layout rectangle ask of the block.
struct LayoutFrame {
  const TGPRectF& rect;
  StringAlignment alignment;  // near and far swapped for right-to-left
  double pad;
  bool boundedWidth;
  bool boundedHeight;
};

LayoutFrame FrameFor(const StringLayoutRequest& request, const TGPStringFormat& format, const TGPFont& font) {
  StringAlignment alignment = format.GetAlignment();
  if (format.Has(StringFormatFlagsDirectionRightToLeft) && alignment != StringAlignmentCenter)
    alignment = alignment == StringAlignmentNear ? StringAlignmentFar : StringAlignmentNear;
  return {request.rect, alignment, format.Padded() ? font.EmPixels() / 6.0 : 0.0,
          !request.fromPoint && request.rect.Width > 0, !request.fromPoint && request.rect.Height > 0};
}

// Wrapping and the ellipsis trimmings, within a bounded width.
void ApplyWidthAndTrimming(PangoLayout* layout, const LayoutFrame& frame, const TGPStringFormat& format) {
  if (!frame.boundedWidth) return;
  const bool wraps = !format.Has(StringFormatFlagsNoWrap);
  const StringTrimming trimming = format.GetTrimming();
  const bool ellipsis = trimming == StringTrimmingEllipsisCharacter || trimming == StringTrimmingEllipsisWord ||
                        trimming == StringTrimmingEllipsisPath;
  const double room = std::max(1.0, frame.rect.Width - 2 * frame.pad);
  if (wraps || ellipsis) pango_layout_set_width(layout, static_cast<int>(room * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  if (ellipsis && (!wraps || frame.boundedHeight)) {
    pango_layout_set_ellipsize(layout,
                               trimming == StringTrimmingEllipsisPath ? PANGO_ELLIPSIZE_MIDDLE : PANGO_ELLIPSIZE_END);
    if (wraps) pango_layout_set_height(layout, static_cast<int>(frame.rect.Height * PANGO_SCALE));
  }
}

// The extent of the lines shown: all, or with a line limit those wholly inside the rectangle.
struct ShownLines {
  int count = 0;
  int endByte = 0;  // in the UTF-8 text, past the last shown line
  double left = HUGE_VAL, right = -HUGE_VAL, bottom = 0;
};

ShownLines MeasureShownLines(PangoLayout* layout, const LayoutFrame& frame, const TGPStringFormat& format,
                             bool emptyText) {
  ShownLines shown;
  PangoLayoutIterPtr iter(pango_layout_get_iter(layout));
  do {
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter.get(), nullptr, &logical);
    const double lineBottom = Units(logical.y + logical.height);
    if (frame.boundedHeight && format.Has(StringFormatFlagsLineLimit) && lineBottom > frame.rect.Height + 0.001 &&
        shown.count > 0)
      break;
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter.get());
    ++shown.count;
    shown.endByte = line->start_index + line->length;
    shown.bottom = lineBottom;
    shown.left = std::min(shown.left, Units(logical.x));
    shown.right = std::max(shown.right, Units(logical.x + logical.width));
  } while (pango_layout_iter_next_line(iter.get()));
  if (emptyText) {
    shown.left = shown.right = shown.bottom = 0;
    shown.count = 0;
  }
  return shown;
}

// Where the layout's origin goes, and the box and clip of what shows.
struct Placement {
  double x = 0, y = 0;
  TGPRectF bounds;
  bool clipped = false;
};

Placement PlaceBlock(PangoLayout* layout, const ShownLines& lines, const LayoutFrame& frame,
                     const TGPStringFormat& format) {
  const TGPRectF& rect = frame.rect;
  Placement placement;
  // Pango aligned the lines within its width when it has one, else within the widest line.
  const double blockWidth = lines.right - lines.left;
  const double room = frame.boundedWidth ? rect.Width : 0;
  placement.x = pango_layout_get_width(layout) > 0
                    ? rect.X + frame.pad
                    : Place(frame.alignment, rect.X, room, blockWidth, frame.pad) - lines.left;
  placement.y = Place(format.GetLineAlignment(), rect.Y, frame.boundedHeight ? rect.Height : 0, lines.bottom, 0);
  placement.clipped = frame.boundedWidth && frame.boundedHeight && !format.Has(StringFormatFlagsNoClip);
  double top = placement.y, end = placement.y + lines.bottom;
  if (placement.clipped) {  // what shows of the block
    top = std::max<double>(top, rect.Y);
    end = std::max(top, std::min<double>(end, rect.GetBottom()));
  }
  placement.bounds = {static_cast<REAL>(placement.x + lines.left - frame.pad), static_cast<REAL>(top),
                      static_cast<REAL>(blockWidth > 0 ? blockWidth + 2 * frame.pad : 0), static_cast<REAL>(end - top)};
  return placement;
}

}  // namespace

struct StringLayout::Impl {
  std::unique_lock<std::mutex> lock{PangoMutex()};
  PangoContextPtr context;
  PangoLayoutPtr layout;  // declared after its context, so it goes first
  int shownLines = 0;     // lines drawn, from the first
  double x = 0, y = 0;    // where the layout's origin goes
  bool antialias = true;

  // A context and an empty layout on the private font map, rendering as `hint` asks; false
  // when there is no font map.
  bool Open(TextRenderingHint hint) {
    antialias = !SingleBit(hint);
    PangoFontMap* map = FontMap();
    if (!map) return false;
    context.reset(pango_font_map_create_context(map));
    CairoFontOptions options(cairo_font_options_create());
    cairo_font_options_set_hint_metrics(options.get(), GridFit(hint) ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options.get(), antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    pango_cairo_context_set_font_options(context.get(), options.get());
    pango_context_set_round_glyph_positions(context.get(), GridFit(hint));
    layout.reset(pango_layout_new(context.get()));
    return true;
  }
};

StringLayout::StringLayout(const StringLayoutRequest& request) : impl_(std::make_unique<Impl>()) {
  const TGPStringFormat defaults;
  const TGPStringFormat& format = request.format ? *request.format : defaults;
  Impl& impl = *impl_;
  if (!impl.Open(request.hint)) return;
  PangoLayout* layout = impl.layout.get();

  // The text ends at a NUL within the count, as a C string would.
  const std::u16string_view text = request.text.substr(0, request.text.find(u'\0'));
  const ShownText shown = ResolveHotkeyPrefixes(text, format.GetHotkeyPrefix());
  SetTextAndAttributes(layout, shown, *request.font);
  const LayoutFrame frame = FrameFor(request, format, *request.font);
  pango_layout_set_alignment(layout, PangoAlign(frame.alignment));
  ApplyWidthAndTrimming(layout, frame, format);

  const ShownLines lines = MeasureShownLines(layout, frame, format, shown.utf8.empty());
  impl.shownLines = lines_ = lines.count;
  const size_t shownUnits =
      Utf8ToUtf16(std::string_view(shown.utf8).substr(0, static_cast<size_t>(lines.endByte))).size();
  fitted_ = SourceUnits(text, format.GetHotkeyPrefix() != HotkeyPrefixNone, shownUnits);

  const Placement placement = PlaceBlock(layout, lines, frame, format);
  impl.x = placement.x;
  impl.y = placement.y;
  bounds_ = placement.bounds;
  clipped_ = placement.clipped;
  clip_ = request.rect;
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
