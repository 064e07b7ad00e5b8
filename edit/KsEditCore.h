#pragma once
// The windowless editing core of the edit control: the text store, the undo list, the caret and
// the selection, the view numbers (top line, left character, lines in the rectangle), bookmarks
// and the command executor. The control owns one core, implements IKsEditHost for the store and
// IKsEditCoreEvents for the core, and forwards its properties and virtual operations here.
//
// Positions: the caret (FCaretX, FCaretY), the anchor (FSelStartX/Y) and the ordered selection
// (FSelFirstX/Y .. FSelLastX/Y) are visual-line coordinates of the store (X = column, Y = visual
// line). Character indexes count a paragraph break as two characters (CR LF); undo records hold
// character indexes so that they survive re-wrapping.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "edit/KsActionList.h"
#include "edit/KsEditCommands.h"
#include "edit/KsEditCoreEvents.h"
#include "edit/KsEditHost.h"
#include "edit/KsEditStrings.h"
#include "framework/ButtonControl.h"

namespace kestrel {

enum TKsEditCharCase { eecNormal = 0, eecUpperCase = 1, eecLowerCase = 2 };

// Vertical scroll requests (the SB_ codes of WM_VSCROLL / WM_HSCROLL).
enum TKsScrollRequest {
  ksrLineUp = 0,
  ksrLineDown = 1,
  ksrPageUp = 2,
  ksrPageDown = 3,
  ksrThumbPosition = 4,
  ksrThumbTrack = 5,
  ksrTop = 6,
  ksrBottom = 7,
  ksrEndScroll = 8,
};

struct TKsCaretPos {
  int X = 0;
  int Y = 0;
  bool operator==(const TKsCaretPos&) const = default;
};

class TKsEditCore {
 public:
  static constexpr int BookmarkCount = 10;
  static constexpr char16_t StressMark = 0x0301;

  TKsEditCore(IKsEditHost& host, IKsEditCoreEvents& events);
  ~TKsEditCore();
  TKsEditCore(const TKsEditCore&) = delete;
  TKsEditCore& operator=(const TKsEditCore&) = delete;

  TKsEditStrings& Lines() { return *FKsEditList; }
  const TKsEditStrings& Lines() const { return *FKsEditList; }
  TKsActionList& UndoList() { return *FUndoList; }
  IKsEditHost& Host() const { return host_; }

  // --- Settings the control forwards.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  int MaxLength() const { return FMaxLength; }
  // Negative values are ignored; a positive limit shorter than the text cuts it (through Text).
  void SetMaxLength(int value);
  TKsEditCharCase CharCase() const { return FCharCase; }
  // Upper or lower case converts the whole text at once (through Text), unit for unit.
  void SetCharCase(TKsEditCharCase value);
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool NotifyUserChangeOnly() const { return FNotifyUserChangeOnly; }
  void SetNotifyUserChangeOnly(bool value) { FNotifyUserChangeOnly = value; }
  int MaxUndoLevel() const { return FUndoList->MaxUndo(); }
  void SetMaxUndoLevel(int value) { FUndoList->SetMaxUndo(value); }
  bool Modified() const { return FModified; }
  void SetModified(bool value) { FModified = value; }
  // The text a tab command inserts and records.
  const String& TabString() const { return FTabString; }

  // --- Text.
  String Text() const;
  // The Text write: nothing when unchanged; CharCase applied; both undo lists cleared; then
  // ApplyText. Loading (the control streaming its form in) sets the store directly.
  void SetText(const String& value, bool loading = false);
  // Value as CharCase converts it (unit for unit).
  String CasedText(String value) const { return ApplyCase(std::move(value)); }
  // WM_SETTEXT: the store takes the text, caret and selection go to the start, after-change
  // hook, OnChange only when NotifyUserChangeOnly is false, OnSelectionChange, invalidate.
  void ApplyText(std::u16string_view value);
  // The store rewrote its whole text (also through Lines): caret, anchor and view to the start.
  void TextReset();
  int TextLength() const { return FKsEditList->TextLength(); }
  int LinesCount() const { return FKsEditList->ParagraphCount(); }
  // Re-wraps the whole text (width, font or wrapping changed), keeping the caret and the
  // selection at their character positions.
  void Rewrap();
  // The text changed under the caret (the program edited Lines): a caret, anchor or selection
  // end that now lies past its line or past the last line moves back inside the text.
  void KeepInText();
  // Length of visual line Y (0 outside the text).
  int LineLength(int y) const;

  // --- Caret.
  int CaretX() const { return FCaretX; }
  int CaretY() const { return FCaretY; }
  TKsCaretPos CaretXY() const { return {FCaretX, FCaretY}; }
  // Column: past a line end steps onto the next line (after its first character when that line
  // continues the same paragraph), before column 0 onto the previous line.
  void SetCaretX(int value);
  // Line: clamped to the text, scrolls the line into view, clamps the column.
  void SetCaretY(int value);
  // Line first, then column.
  void SetCaretXY(TKsCaretPos value);
  // The caret as a character index, and back.
  int CaretChar() const { return CharFromCaret(FCaretX, FCaretY); }
  void SetCaretChar(int charNum);
  int CharFromCaret(int x, int y) const { return FKsEditList->CharFromCaret(x, y); }
  TKsCaretPos CaretFromChar(int charNum) const;

  // --- Selection.
  TKsCaretPos Anchor() const { return {FSelStartX, FSelStartY}; }
  // Anchor := caret (no event).
  void SetAnchorToCaret();
  // The anchor moves to the caret and OnSelectionChange fires, when they differ.
  void AnchorFollows();
  bool Selected() const { return FSelected; }
  TKsCaretPos SelFirst() const { return {FSelFirstX, FSelFirstY}; }
  TKsCaretPos SelLast() const { return {FSelLastX, FSelLastY}; }
  // The range from the anchor to (X, Y), ordered; OnSelectionChange when it changed.
  void ExtendSelection(int x, int y);
  // The caret goes to (X, Y) and the selection is extended to it.
  void ExtendCaretTo(TKsCaretPos pos);
  // Collapses the range onto the anchor (only when something is selected).
  void Deselect();
  // Deletes the selected text with an atDeleteSel record; caret and anchor to the range start.
  // Nothing when read-only or nothing is selected; answers whether text was removed.
  bool DeleteSelection();
  void SelectAll();
  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);
  // The selected text, paragraph breaks as CR LF.
  String SelText() const;
  // Replaces the selection with Value (recorded, so that undo stays in step).
  void SetSelText(const String& value);
  String SelectedText() const { return SelText(); }

  // --- View.
  int TopLine() const { return FTopLine; }
  void SetTopLine(int value);
  int LeftChar() const { return FLeftChar; }
  void SetLeftChar(int value);
  int LinesInRect() const { return FLinesInRect; }
  // The control computes it from the edit rectangle and the line height; at least 1.
  void SetLinesInRect(int value) { FLinesInRect = value < 1 ? 1 : value; }
  // The TopLine a vertical scroll request asks for; -1 when it asks for nothing.
  int VertScrollTarget(TKsScrollRequest request, int thumbPos) const;
  // The LeftChar a horizontal scroll request asks for; -1 when it asks for nothing. PageChars is
  // (client width div 2) in characters, BarPage the horizontal bar's page.
  int HorzScrollTarget(TKsScrollRequest request, int thumbPos, int pageChars, int barPage) const;
  // Horizontal scrolling to the caret (the control calls it from CaretMoved, with a window):
  // moves LeftChar so that the caret stays in view, three quarters across when it had to move.
  // Never changes LeftChar while word wrap is on in multi-line mode.
  void ScrollToCaret(TAlignment alignment);
  // The caret's line is wider than the room, so it is shown left-aligned whatever the alignment.
  bool ForceLeftAlignment() const { return FForceLeftAlignment; }
  // Feeds a wheel delta; answers the lines to scroll (positive: towards the start). WheelLines
  // is the platform's setting (lines per notch; 0 or less: 3; a page setting: FLinesInRect).
  int WheelLines(int delta, int wheelLines);
  // Scroll(0..3): line up/down, page up/down.
  void Scroll(int direction);

  // --- Words, bookmarks, stress.
  TKsCaretPos GetNextWord(TKsCaretPos caret) const;
  TKsCaretPos GetPrevWord(TKsCaretPos caret) const;
  void SetBookmark(int index);
  void GotoBookmark(int index);
  TKsCaretPos Bookmark(int index) const;
  void SetStress(int x, int y);

  // --- Clipboard. Each answers whether it changed the text (Copy: whether it copied).
  bool CopyToClipboard();
  bool CutToClipboard();
  bool PasteFromClipboard();
  // The paste with a given text (the clipboard's, or the middle-click selection's).
  bool PasteText(String text);

  // --- Drag and drop. Drops Text at character DropChar and selects it; Move (a drag inside this
  // control) removes the selection first. A drop onto the selection itself copies. Answers
  // whether the text changed (not when read-only).
  bool DropText(const String& text, int dropChar, bool move);

  // --- Undo.
  bool CanUndo() const { return FUndoList->CanUndo(); }
  void Undo();
  void ClearUndo() { FUndoList->Clear(); }

  // --- Commands. CommandCenter brackets ExecuteCommand with the before- and after-command
  // hooks. ExecuteCommand runs the core's own clipboard, bookmark and stress operations; a
  // control that lets descendants override those handles their codes before forwarding here.
  void CommandCenter(TKsCommand command, char16_t ch, const String& data);
  void ExecuteCommand(TKsCommand command, char16_t ch, const String& data);

  // Typing (commands 110, 115): CharCase, OnKeyPressEx, replace the selection, record.
  void TypeText(String text);
  // Whether an ordinary key press may type now (MaxLength not reached, or a selection exists).
  bool RoomToType() const;

 private:
  String ApplyCase(String text) const;
  // The after-edit notification of Backspace, Delete, new line and tab.
  void AfterEdit(std::uint64_t stampBefore);
  void ScrollToCaretLine();
  bool AtLastLine() const { return FCaretY >= LinesCount() - 1; }
  bool SameParagraph(int y1, int y2) const;
  // Puts the caret at a valid position without the column-stepping rules.
  void PlaceCaret(TKsCaretPos pos);
  // Moves the caret off the second half of a surrogate pair, forwards or backwards.
  int OffPairMiddle(int x, int y, bool forwards) const;
  void SelectChars(int anchor, int caret);
  bool RemoveSelection();
  // Inserts at the caret with an atInsert record; caret and anchor go after the text.
  void InsertRecorded(const String& text);
  void AddGroupBreak() { FUndoList->AddAction(atGroupBreak, 0, u"", 0); }
  // Whether the text may grow by Count characters under MaxLength (a selection counted as gone).
  bool RoomFor(int count) const;
  // Text cut to Room units, never inside a surrogate pair or a CR LF.
  static String CutToRoom(String text, int room);
  void BackSpace();
  void DeleteChar();
  void NewLine();
  void InsertTab();
  void DeleteWord(bool forward);
  // The caret change of move command Move (1 .. 12), nothing else.
  void MoveCaretFor(TKsCommand move);
  bool MoveCommand(TKsCommand command);
  bool SelectCommand(TKsCommand command);
  std::u16string_view ParagraphText(int paragraph) const;
  // The position a scroll request asks for, from the current one and the step sizes.
  static std::optional<int> ScrollTarget(TKsScrollRequest request, int current, int line, int page, int thumbPos,
                                         int end);
  // Width of S as painted: masked, tabs expanded.
  int PaintedWidth(std::u16string_view s) const;
  // The LeftChar that puts the caret Back pixels from the left edge of the view.
  int LeftCharFor(const String& line, int back) const;

  IKsEditHost& host_;
  IKsEditCoreEvents& events_;
  std::unique_ptr<TKsEditStrings> FKsEditList;
  std::unique_ptr<TKsActionList> FUndoList;
  std::unique_ptr<TKsActionList> FRedoList;  // the second list; cleared with the first

  int FCaretX = 0;
  int FCaretY = 0;
  int FSelStartX = 0;
  int FSelStartY = 0;
  int FSelFirstX = 0;
  int FSelFirstY = 0;
  int FSelLastX = 0;
  int FSelLastY = 0;
  bool FSelected = false;
  int FTopLine = 0;
  int FLeftChar = 0;
  int FLinesInRect = 1;
  bool FForceLeftAlignment = false;
  std::array<TKsCaretPos, BookmarkCount> FBookmarks{};
  bool FModified = false;
  bool FReadOnly = false;
  int FMaxLength = 0;
  TKsEditCharCase FCharCase = eecNormal;
  bool FWantTabs = false;
  bool FNotifyUserChangeOnly = true;
  String FTabString = u"\t";
  bool lineEndMove_ = false;  // caret to a line end: no step onto the next line
  int wheelRest_ = 0;         // wheel delta not yet turned into lines
};

}  // namespace kestrel
