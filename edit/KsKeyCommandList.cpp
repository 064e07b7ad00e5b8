#include "edit/KsKeyCommandList.h"

#include <algorithm>
#include <utility>

#include "edit/KsEditCommands.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

namespace {

using namespace platform;

const TShiftState kNone{};
const TShiftState kShift{ssShift};
const TShiftState kCtrl{ssCtrl};
const TShiftState kAlt{ssAlt};
const TShiftState kShiftCtrl{ssShift, ssCtrl};

struct TKeyBinding {
  int key;
  TShiftState shift;
  TKsCommand command;
  const char16_t* description;
};

// Single-key bindings before the chords, in the order the list keeps them. The descriptions are
// the ones users and stored key maps know, also the two that do not name their command exactly
// (Shift+Ctrl+Left selects a word, Shift+Ctrl+End what follows the caret).
const TKeyBinding kMovementBindings[] = {
    {VK_LEFT, kNone, kscmd::Left, u"Move cursor left"},
    {VK_LEFT, kShift, kscmd::SelectLeft, u"Select previous char"},
    {VK_LEFT, kCtrl, kscmd::PrevWord, u"Move to previous word"},
    {VK_LEFT, kShiftCtrl, kscmd::SelectPrevWord, u"Select previous char"},
    {VK_RIGHT, kNone, kscmd::Right, u"Move cursor right"},
    {VK_RIGHT, kShift, kscmd::SelectRight, u"Select next char"},
    {VK_RIGHT, kCtrl, kscmd::NextWord, u"Move to next word"},
    {VK_RIGHT, kShiftCtrl, kscmd::SelectNextWord, u"Select next word"},
    {VK_UP, kNone, kscmd::Up, u"Move cursor up"},
    {VK_UP, kShift, kscmd::SelectUp, u"Select text up"},
    {VK_DOWN, kNone, kscmd::Down, u"Move cursor down"},
    {VK_DOWN, kShift, kscmd::SelectDown, u"Select text down"},
    {VK_NEXT, kNone, kscmd::PageDown, u"Page down"},
    {VK_NEXT, kShift, kscmd::SelectPageDown, u"Select page down"},
    {VK_PRIOR, kNone, kscmd::PageUp, u"Page up"},
    {VK_PRIOR, kShift, kscmd::SelectPageUp, u"Select page up"},
    {VK_RETURN, kNone, kscmd::NewLine, u"New line"},
    {VK_RETURN, kCtrl, kscmd::NewLine, u"New line"},
    {VK_RETURN, kShift, kscmd::NewLine, u"New line"},
    {VK_TAB, kNone, kscmd::Tab, u"Insert Tab symbol"},
    {VK_HOME, kNone, kscmd::LineStart, u"Move cursor to begin of line"},
    {VK_HOME, kShift, kscmd::SelectLineStart, u"Select line before cursor"},
    {VK_HOME, kCtrl, kscmd::TextStart, u"Move cursor to begin of text"},
    {VK_HOME, kShiftCtrl, kscmd::SelectTextStart, u"Select all before cursor"},
    {VK_END, kNone, kscmd::LineEnd, u"Move cursor to end of line"},
    {VK_END, kShift, kscmd::SelectLineEnd, u"Select line after cursor"},
    {VK_END, kCtrl, kscmd::TextEnd, u"Move cursor to end of text"},
    {VK_END, kShiftCtrl, kscmd::SelectTextEnd, u"Select all before cursor"},
    {VK_BACK, kNone, kscmd::BackSpace, u"Delete char before cursor"},
    {VK_BACK, kShift, kscmd::BackSpace, u"Delete char before cursor"},
    {VK_BACK, kCtrl, kscmd::DeletePrevWord, u"Delete word before cursor"},
    {VK_BACK, kAlt, kscmd::Undo, u"Undo"},
    {VK_DELETE, kNone, kscmd::DeleteChar, u"Delete char under cursor"},
    {VK_DELETE, kShift, kscmd::Cut, u"Cut to clipboard"},
    {VK_DELETE, kCtrl, kscmd::DeleteNextWord, u"Delete selection"},
    {VK_INSERT, kCtrl, kscmd::Copy, u"Copy to clipboard"},
    {VK_INSERT, kShift, kscmd::Paste, u"Paste from clipboard"},
};

// Single-key bindings after the chords.
const TKeyBinding kClipboardBindings[] = {
    {'A', kCtrl, kscmd::SelectAll, u"Select all"},
    {'C', kCtrl, kscmd::Copy, u"Copy to clipboard"},
    {'X', kCtrl, kscmd::Cut, u"Cut to clipboard"},
    {'V', kCtrl, kscmd::Paste, u"Paste from clipboard"},
    {'Z', kCtrl, kscmd::Undo, u"Undo"},
};

TShiftState ShiftFromShortCut(std::uint16_t shortCut) {
  TShiftState shift;
  if (shortCut & 0x2000) shift.Include(ssShift);
  if (shortCut & 0x4000) shift.Include(ssCtrl);
  if (shortCut & 0x8000) shift.Include(ssAlt);
  return shift;
}

}  // namespace

void TKsKeyCommandList::Add(std::uint16_t key, TShiftState shiftState, String description, TKsCommand command) {
  Add(key, shiftState, 0, TShiftState{}, std::move(description), command);
}

void TKsKeyCommandList::Add(std::uint16_t key, TShiftState shiftState, std::uint16_t key2, TShiftState shiftState2,
                            String description, TKsCommand command) {
  FCommandList.push_back(
      std::make_unique<TKsKeyCommand>(key, shiftState, key2, shiftState2, command, std::move(description)));
}

void TKsKeyCommandList::Delete(TKsCommand command) {
  auto it = std::find_if(FCommandList.begin(), FCommandList.end(),
                         [command](const auto& item) { return item->Command() == command; });
  if (it != FCommandList.end()) FCommandList.erase(it);
}

TKsCommand TKsKeyCommandList::Find(std::uint16_t key, TShiftState shiftState) const {
  TKsCommand result = 0;
  for (const auto& item : FCommandList) {
    if (item->Key() != key || item->ShiftState() != shiftState) continue;
    if (!item->IsChord()) return item->Command();
    result = kKsChordFirstKey;
  }
  return result;
}

TKsCommand TKsKeyCommandList::Find(std::uint16_t key, TShiftState shiftState, TShiftState firstShift,
                                   std::uint16_t firstKey) const {
  for (const auto& item : FCommandList) {
    if (item->IsChord() && item->Key() == firstKey && item->ShiftState() == firstShift && item->Key2() == key &&
        item->ShiftState2() == shiftState)
      return item->Command();
  }
  return 0;
}

void TKsKeyCommandList::AddBookmarkChords(std::uint16_t firstKey, TKsCommand firstCommand,
                                          const char16_t* description) {
  for (int digit = 0; digit <= 9; ++digit) {
    String text = description;
    text += static_cast<char16_t>(u'0' + digit);
    Add(firstKey, kCtrl, static_cast<std::uint16_t>('0' + digit), kNone, std::move(text), firstCommand + digit);
  }
}

void TKsKeyCommandList::DefaultKeyBind() {
  for (const auto& b : kMovementBindings) Add(static_cast<std::uint16_t>(b.key), b.shift, b.description, b.command);
  Add('K', kCtrl, 'I', kNone, u"Indent selected text", kscmd::Indent);
  Add('K', kCtrl, 'U', kNone, u"Unindent selected text", kscmd::Unindent);
  AddBookmarkChords('K', kscmd::SetBookmark0, u"Set bookmark ");
  AddBookmarkChords('Q', kscmd::GotoBookmark0, u"Goto bookmark to ");
  for (const auto& b : kClipboardBindings) Add(static_cast<std::uint16_t>(b.key), b.shift, b.description, b.command);
}

void TKsKeyCommandList::SetStressShortCut(std::uint16_t shortCut) {
  Delete(kscmd::SetStress);
  Add(static_cast<std::uint16_t>(shortCut & 0xFF), ShiftFromShortCut(shortCut), u"Set stress sign", kscmd::SetStress);
}

}  // namespace kestrel
