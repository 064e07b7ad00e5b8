#include "edit/KsKeyCommandList.h"

#include <algorithm>
#include <utility>

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

// Single-key bindings before the chords, in the order the list keeps them. Each description says
// what its command does (Shift+Ctrl+Left selects a word, Shift+Ctrl+End what follows the caret).
const TKeyBinding kMovementBindings[] = {
    {VK_LEFT, kNone, 1, u"Move cursor left"},
    {VK_LEFT, kShift, 201, u"Select previous char"},
    {VK_LEFT, kCtrl, 8, u"Move to previous word"},
    {VK_LEFT, kShiftCtrl, 207, u"Select previous word"},
    {VK_RIGHT, kNone, 2, u"Move cursor right"},
    {VK_RIGHT, kShift, 202, u"Select next char"},
    {VK_RIGHT, kCtrl, 7, u"Move to next word"},
    {VK_RIGHT, kShiftCtrl, 208, u"Select next word"},
    {VK_UP, kNone, 3, u"Move cursor up"},
    {VK_UP, kShift, 209, u"Select text up"},
    {VK_DOWN, kNone, 4, u"Move cursor down"},
    {VK_DOWN, kShift, 210, u"Select text down"},
    {VK_NEXT, kNone, 10, u"Page down"},
    {VK_NEXT, kShift, 212, u"Select page down"},
    {VK_PRIOR, kNone, 9, u"Page up"},
    {VK_PRIOR, kShift, 211, u"Select page up"},
    {VK_RETURN, kNone, 111, u"New line"},
    {VK_RETURN, kCtrl, 111, u"New line"},
    {VK_RETURN, kShift, 111, u"New line"},
    {VK_TAB, kNone, 112, u"Insert Tab symbol"},
    {VK_HOME, kNone, 5, u"Move cursor to begin of line"},
    {VK_HOME, kShift, 203, u"Select line before cursor"},
    {VK_HOME, kCtrl, 11, u"Move cursor to begin of text"},
    {VK_HOME, kShiftCtrl, 205, u"Select all before cursor"},
    {VK_END, kNone, 6, u"Move cursor to end of line"},
    {VK_END, kShift, 204, u"Select line after cursor"},
    {VK_END, kCtrl, 12, u"Move cursor to end of text"},
    {VK_END, kShiftCtrl, 206, u"Select all after cursor"},
    {VK_BACK, kNone, 106, u"Delete char before cursor"},
    {VK_BACK, kShift, 106, u"Delete char before cursor"},
    {VK_BACK, kCtrl, 108, u"Delete word before cursor"},
    {VK_BACK, kAlt, 101, u"Undo"},
    {VK_DELETE, kNone, 107, u"Delete char under cursor"},
    {VK_DELETE, kShift, 103, u"Cut to clipboard"},
    {VK_DELETE, kCtrl, 109, u"Delete selection"},
    {VK_INSERT, kCtrl, 104, u"Copy to clipboard"},
    {VK_INSERT, kShift, 105, u"Paste from clipboard"},
};

// Single-key bindings after the chords.
const TKeyBinding kClipboardBindings[] = {
    {'A', kCtrl, 215, u"Select all"},
    {'C', kCtrl, 104, u"Copy to clipboard"},
    {'X', kCtrl, 103, u"Cut to clipboard"},
    {'V', kCtrl, 105, u"Paste from clipboard"},
    {'Z', kCtrl, 101, u"Undo"},
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
  Add('K', kCtrl, 'I', kNone, u"Indent selected text", 113);
  Add('K', kCtrl, 'U', kNone, u"Unindent selected text", 114);
  AddBookmarkChords('K', 118, u"Set bookmark ");
  AddBookmarkChords('Q', 131, u"Goto bookmark to ");
  for (const auto& b : kClipboardBindings) Add(static_cast<std::uint16_t>(b.key), b.shift, b.description, b.command);
}

void TKsKeyCommandList::SetStressShortCut(std::uint16_t shortCut) {
  Delete(kKsSetStressCommand);
  Add(static_cast<std::uint16_t>(shortCut & 0xFF), ShiftFromShortCut(shortCut), u"Set stress sign",
      kKsSetStressCommand);
}

}  // namespace kestrel
