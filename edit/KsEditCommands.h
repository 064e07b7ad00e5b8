#pragma once
// The numbered commands of the edit control. Keys, typed characters, input-method results, the
// context menu and the clipboard messages all reach the editing core as one of these codes.

namespace kestrel {

using TKsCommand = int;

namespace kscmd {
// Moves (the selection collapses onto the anchor first).
constexpr TKsCommand Left = 1;
constexpr TKsCommand Right = 2;
constexpr TKsCommand Up = 3;
constexpr TKsCommand Down = 4;
constexpr TKsCommand LineStart = 5;
constexpr TKsCommand LineEnd = 6;
constexpr TKsCommand NextWord = 7;
constexpr TKsCommand PrevWord = 8;
constexpr TKsCommand PageUp = 9;
constexpr TKsCommand PageDown = 10;
constexpr TKsCommand TextStart = 11;
constexpr TKsCommand TextEnd = 12;
// Editing.
constexpr TKsCommand Undo = 101;
constexpr TKsCommand Cut = 103;
constexpr TKsCommand Copy = 104;
constexpr TKsCommand Paste = 105;
constexpr TKsCommand BackSpace = 106;
constexpr TKsCommand DeleteChar = 107;
constexpr TKsCommand DeletePrevWord = 108;
constexpr TKsCommand DeleteNextWord = 109;
constexpr TKsCommand Type = 110;
constexpr TKsCommand NewLine = 111;
constexpr TKsCommand Tab = 112;
constexpr TKsCommand Indent = 113;    // bound, does nothing
constexpr TKsCommand Unindent = 114;  // bound, does nothing
constexpr TKsCommand TypeComposition = 115;
constexpr TKsCommand SetBookmark0 = 118;   // ... 127
constexpr TKsCommand GotoBookmark0 = 131;  // ... 140
constexpr TKsCommand SetStress = 141;
// Selection.
constexpr TKsCommand SelectLeft = 201;
constexpr TKsCommand SelectRight = 202;
constexpr TKsCommand SelectLineStart = 203;
constexpr TKsCommand SelectLineEnd = 204;
constexpr TKsCommand SelectTextStart = 205;
constexpr TKsCommand SelectTextEnd = 206;
constexpr TKsCommand SelectPrevWord = 207;
constexpr TKsCommand SelectNextWord = 208;
constexpr TKsCommand SelectUp = 209;
constexpr TKsCommand SelectDown = 210;
constexpr TKsCommand SelectPageUp = 211;
constexpr TKsCommand SelectPageDown = 212;
constexpr TKsCommand SelectAll = 215;
constexpr TKsCommand DeleteSelection = 216;
constexpr TKsCommand Deselect = 217;
}  // namespace kscmd

}  // namespace kestrel
