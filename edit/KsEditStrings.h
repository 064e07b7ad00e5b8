#pragma once
// The edit control's text: a list of paragraphs (its list face, which is the control's Lines),
// each wrapped into visual lines for display, with the conversions between visual positions
// (X = column, Y = visual line over the whole text), paragraph offsets and character indexes (a
// paragraph break counting as the two characters CR LF).

#include <cstdint>
#include <string_view>
#include <vector>

#include "edit/KsEditHost.h"
#include "edit/KsLineWrapper.h"
#include "edit/KsParagraphList.h"
#include "edit/KsTextMeasure.h"
#include "framework/Exceptions.h"
#include "framework/StringList.h"

namespace kestrel {

KESTREL_EXCEPTION(EKsEditorError, Exception)

// The base list's own item storage stays empty: every item operation works on the paragraphs.
class TKsEditStrings : public TStringList {
  KESTREL_CLASS(TKsEditStrings)
  explicit TKsEditStrings(IKsEditHost& host);
  ~TKsEditStrings() override;

  // --- The list face: one item per paragraph. Put (SetStrings) leaves line breaks out.
  int Add(const String& s) override;
  int AddObject(const String& s, TObject* object) override;
  void AddStrings(const TStrings& strings) override;
  // Multi-line only: S split at its breaks into paragraphs inserted before Index.
  void Insert(int index, const String& s) override;
  void Delete(int index) override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  // Copies the text of another string list (a text write).
  using TStringList::Assign;
  void Assign(const TPersistent* source) override;
  void Clear() override;
  // The whole text replaced (the Text write), read where it lies.
  void SetTextFrom(std::u16string_view text);
  // Binary search over the paragraph texts comparing UTF-16 code units: true when found; Index
  // is the match or the insertion point.
  bool Find(const String& s, int& index) const override;

  // The store's own change event: raised by every change, inside update brackets too.
  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent value) { onChange_ = std::move(value); }

  // --- Visual lines.
  int ParagraphCount() const { return FParagraphs.LineCount(); }
  String GetLine(int y) const;
  void PutLine(int y, std::u16string_view s);
  // The paragraph holding line Y and the line inside it; both 0 when no paragraph holds Y.
  bool IndexToParagraph(int y, int& paragraph, int& paraIndex) const;
  void CaretToParagraph(int x, int y, int& paraOffs, int& paragraph) const;
  void CaretFromParagraph(int paragraph, int paraOffs, int& y, int& x) const;
  int CharFromCaret(int x, int y) const;
  void CaretFromChar(int charNum, int& x, int& y) const;
  // Index (Y) of the first visual line of Paragraph.
  int FirstLineOf(int paragraph) const { return FParagraphs.FirstLine(paragraph); }

  // --- Editing.
  // Inserts S at (X, Y) and moves (X, Y) just after the inserted text.
  void InsertText(int& x, int& y, std::u16string_view s);
  // The same at a character index; answers the index after the inserted text.
  int InsertTextAt(int charNum, std::u16string_view s);
  // Removes the characters between two indexes and answers them (breaks as CR LF).
  String DeleteText(int fromChar, int toChar);
  String TextRange(int fromChar, int toChar) const;
  // Characters of Text (no break after the last paragraph).
  int TextLength() const;
  // The index one whole character after or before C: a surrogate pair and a paragraph break
  // are single steps, so stepping never lands inside either.
  int NextCharPos(int charNum) const;
  int PrevCharPos(int charNum) const;
  // Grows with every change of the text (not of its wrapping): undo uses it to see edits that
  // were made without a record.
  std::uint64_t ChangeStamp() const { return changeStamp_; }

  // --- Wrapping.
  void WrapParagraph(int paragraph);
  void WrapAll();
  void RenumberLines(int fromParagraph);
  int MaxLen() const { return FMaxLen; }
  int IdxMaxLen() const { return FIdxMaxLen; }
  const String& MaxStr() const { return FMaxStr; }

  // --- Measuring (the host's font).
  const TKsTextMeasure& Measure() const { return measure_; }
  platform::SIZE TextSize(std::u16string_view s) const { return measure_.TextSize(s); }
  String ExpandTabs(std::u16string_view s) const { return measure_.ExpandTabs(s); }
  String MaskText(std::u16string_view s) const { return measure_.MaskText(s); }
  int CharsFitRight(int w, std::u16string_view s, int start) const { return measure_.CharsFitRight(w, s, start); }
  int CharsFitLeft(int w, std::u16string_view s, int start) const { return measure_.CharsFitLeft(w, s, start); }

  TKsParagraphList& Paragraphs() { return FParagraphs; }
  const TKsParagraphList& Paragraphs() const { return FParagraphs; }
  IKsEditHost& KsEdit() const { return FKsEdit; }

 protected:
  String Get(int index) const override;
  int GetCount() const override { return FParagraphs.Count(); }
  void Put(int index, const String& s) override;
  TObject* GetObject(int) const override { return nullptr; }
  void PutObject(int, TObject*) override {}
  String GetTextStr() const override;
  void SetTextStr(const String& value) override { SetTextFrom(value); }
  void Changed() override;

 private:
  bool Multiline() const { return FKsEdit.Multiline(); }
  void CheckIndex(int index) const;
  // Paragraphs of S split at CR, LF or CR LF; a lone break at the very end adds none.
  static std::vector<std::u16string_view> SplitParagraphs(std::u16string_view s);
  // The paragraph of S that begins at Pos, with Pos moved to the next one; false past the last.
  static bool NextParagraph(std::u16string_view s, size_t& pos, std::u16string_view& paragraph);
  void InsertParagraphs(int index, std::u16string_view s);
  void ParagraphsRemoved(int index, int count);
  void ResetMaxLen();
  void InsertSingleLine(int& x, int& y, std::u16string_view s);
  // RoundUp moves an index inside a pair or a break to the end of it instead of its start.
  void CharToParagraph(int charNum, int& paragraph, int& offset, bool roundUp = false) const;
  int CharOf(int paragraph, int offset) const;

  IKsEditHost& FKsEdit;
  TKsTextMeasure measure_;
  TKsLineWrapper wrapper_;
  TKsParagraphList FParagraphs;
  int FMaxLen = 0;
  int FIdxMaxLen = 0;
  String FMaxStr;
  TNotifyEvent onChange_;
  std::uint64_t changeStamp_ = 0;
};

}  // namespace kestrel
