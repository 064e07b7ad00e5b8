#include "platform/text/internal/TextLayout.h"

#include <algorithm>
#include <numeric>

#include "platform/text/TextTypes.h"

namespace kestrel::platform {

namespace {

constexpr std::u16string_view kEllipsis = u"...";

bool IsBreakSpace(char16_t c) { return c == u' ' || c == u'\t'; }

// A piece of the shown text with the prefixed positions inside it.
struct Piece {
  String text;
  std::vector<int> underlined;
};

// Underlines of [begin, end) of a piece, rebased to `begin`.
std::vector<int> UnderlinesIn(const std::vector<int>& underlined, std::size_t begin, std::size_t end) {
  std::vector<int> out;
  for (int index : underlined)
    if (index >= static_cast<int>(begin) && index < static_cast<int>(end))
      out.push_back(index - static_cast<int>(begin));
  return out;
}

class Layouter {
 public:
  Layouter(UINT format, int width, const TextLayoutMetrics& metrics)
      : format_(format), width_(width), metrics_(metrics) {}

  TextLayoutResult Run(std::u16string_view text) {
    Piece shown;
    if (format_ & DT_NOPREFIX) shown.text = String(text);
    else shown.text = StripPrefixes(text, &shown.underlined);
    TextLayoutResult result;
    if (shown.text.empty()) return result;  // nothing to show takes no room
    std::vector<Piece> paragraphs = SplitParagraphs(shown);
    for (const Piece& paragraph : paragraphs) BreakParagraph(paragraph, result.lines);
    for (std::size_t i = 0; i < result.lines.size(); ++i) ApplyEllipsis(result.lines[i], i + 1 == result.lines.size());
    for (TextLayoutLine& line : result.lines) {
      if (format_ & DT_EXPANDTABS) std::replace(line.text.begin(), line.text.end(), u'\t', u' ');
      result.width = std::max(result.width, line.width);
      result.ellipsized = result.ellipsized || line.ellipsized;
    }
    return result;
  }

 private:
  bool Has(UINT flag) const { return (format_ & flag) != 0; }
  bool WordBreaking() const { return Has(DT_WORDBREAK) && !Has(DT_SINGLELINE); }

  // Advances of a string placed at a line's start: tabs reach the next stop.
  std::vector<int> Measure(std::u16string_view text) const {
    std::vector<int> advances = metrics_.advances ? metrics_.advances(text) : std::vector<int>();
    advances.resize(text.size(), 0);
    if (Has(DT_EXPANDTABS)) {
      int stop = std::max(1, metrics_.tabWidth);
      int x = 0;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\t') advances[i] = (x / stop + 1) * stop - x;
        x += advances[i];
      }
    }
    return advances;
  }

  static int Sum(const std::vector<int>& advances) { return std::accumulate(advances.begin(), advances.end(), 0); }

  std::vector<Piece> SplitParagraphs(const Piece& shown) const {
    std::vector<Piece> paragraphs;
    const String& text = shown.text;
    if (Has(DT_SINGLELINE)) {
      paragraphs.push_back(shown);
      return paragraphs;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
      bool end = i == text.size();
      if (!end && text[i] != u'\r' && text[i] != u'\n') continue;
      paragraphs.push_back({text.substr(start, i - start), UnderlinesIn(shown.underlined, start, i)});
      if (!end && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
    return paragraphs;
  }

  void Emit(const Piece& paragraph, std::size_t begin, std::size_t end, std::vector<TextLayoutLine>& lines) const {
    TextLayoutLine line;
    line.text = paragraph.text.substr(begin, end - begin);
    line.advances = Measure(line.text);
    line.width = Sum(line.advances);
    line.underlined = UnderlinesIn(paragraph.underlined, begin, end);
    lines.push_back(std::move(line));
  }

  void BreakParagraph(const Piece& paragraph, std::vector<TextLayoutLine>& lines) const {
    const String& text = paragraph.text;
    if (!WordBreaking() || text.empty()) {
      Emit(paragraph, 0, text.size(), lines);
      return;
    }
    std::size_t start = 0;
    while (start < text.size()) {
      std::u16string_view rest = std::u16string_view(text).substr(start);
      std::vector<int> advances = Measure(rest);
      std::vector<int> x(rest.size() + 1, 0);  // x[k] = width of rest[0, k)
      for (std::size_t k = 0; k < rest.size(); ++k) x[k + 1] = x[k] + advances[k];
      if (x.back() <= width_) {
        Emit(paragraph, start, text.size(), lines);
        return;
      }
      std::size_t lineEnd = FindBreak(rest, x);
      std::size_t next = lineEnd;
      while (next < rest.size() && IsBreakSpace(rest[next])) ++next;
      Emit(paragraph, start, start + lineEnd, lines);
      start += next;
    }
  }

  // End of the first line of `rest` (which does not fit whole).
  std::size_t FindBreak(std::u16string_view rest, const std::vector<int>& x) const {
    std::size_t best = 0;
    for (std::size_t k = 1; k < rest.size(); ++k)
      if (IsBreakSpace(rest[k]) && !IsBreakSpace(rest[k - 1]) && x[k] <= width_) best = k;
    if (best > 0) return best;
    if (Has(DT_EDITCONTROL) && !Has(DT_WORD_ELLIPSIS)) {
      // Break inside the word, never inside a surrogate pair, and take at least one character.
      std::size_t k = 1;
      while (k < rest.size() && IsLowSurrogate(rest[k])) ++k;
      for (std::size_t j = k + 1; j <= rest.size(); ++j)
        if ((j == rest.size() || !IsLowSurrogate(rest[j])) && x[j] <= width_) k = j;
      return k;
    }
    // The first word overflows whole.
    std::size_t k = 0;
    while (k < rest.size() && IsBreakSpace(rest[k])) ++k;
    while (k < rest.size() && !IsBreakSpace(rest[k])) ++k;
    return k;
  }

  void ApplyEllipsis(TextLayoutLine& line, bool lastLine) const {
    if (line.width <= width_) return;
    if (Has(DT_PATH_ELLIPSIS)) {
      PathEllipsis(line);
      if (line.width > width_ && Has(DT_END_ELLIPSIS)) EndEllipsis(line);
    } else if (Has(DT_WORD_ELLIPSIS) || (Has(DT_END_ELLIPSIS) && (lastLine || !WordBreaking()))) {
      EndEllipsis(line);
    }
  }

  // Longest prefix of `text` (ending on a character boundary) not wider than `room`.
  static std::size_t FittingPrefix(std::u16string_view text, const std::vector<int>& advances, int room) {
    std::size_t fit = 0;
    int x = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
      x += advances[k];
      bool boundary = k + 1 == text.size() || !IsLowSurrogate(text[k + 1]);
      if (x > room) break;
      if (boundary) fit = k + 1;
    }
    return fit;
  }

  void Replace(TextLayoutLine& line, String text, std::vector<int> underlined) const {
    line.text = std::move(text);
    line.advances = Measure(line.text);
    line.width = Sum(line.advances);
    line.underlined = std::move(underlined);
    line.ellipsized = true;
  }

  void EndEllipsis(TextLayoutLine& line) const {
    int ellipsis = Sum(Measure(kEllipsis));
    std::size_t keep = FittingPrefix(line.text, line.advances, width_ - ellipsis);
    Replace(line, line.text.substr(0, keep) + String(kEllipsis), UnderlinesIn(line.underlined, 0, keep));
  }

  void PathEllipsis(TextLayoutLine& line) const {
    std::size_t separator = line.text.find_last_of(u"/\\");
    if (separator == String::npos) return;
    String tail = line.text.substr(separator);
    int fixed = Sum(Measure(kEllipsis)) + Sum(Measure(tail));
    std::size_t keep =
        FittingPrefix(std::u16string_view(line.text).substr(0, separator), line.advances, width_ - fixed);
    std::vector<int> underlined = UnderlinesIn(line.underlined, 0, keep);
    for (int index : UnderlinesIn(line.underlined, separator, line.text.size()))
      underlined.push_back(index + static_cast<int>(keep + kEllipsis.size()));
    Replace(line, line.text.substr(0, keep) + String(kEllipsis) + tail, std::move(underlined));
  }

  UINT format_;
  int width_;
  const TextLayoutMetrics& metrics_;
};

}  // namespace

String StripPrefixes(std::u16string_view text, std::vector<int>* underlined) {
  String shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      shown += text[i];
      continue;
    }
    if (i + 1 == text.size()) break;  // a final lone prefix shows nothing
    ++i;
    if (text[i] != u'&' && underlined) underlined->push_back(static_cast<int>(shown.size()));
    shown += text[i];
  }
  return shown;
}

TextLayoutResult LayoutText(std::u16string_view text, UINT format, int width, const TextLayoutMetrics& metrics) {
  return Layouter(format, width, metrics).Run(text);
}

}  // namespace kestrel::platform
