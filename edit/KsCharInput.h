#pragma once
// What a key typed into the edit control becomes as text, before it reaches the typing command:
// the platform's translation of the key-down, combined with a pending dead character through the
// control's own dead-key table, typed at the character message that follows.

#include <string_view>

#include "edit/KsDeadCharList.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class TKsCharInput {
 public:
  explicit TKsCharInput(const TKsDeadCharList& deadChars) : deadChars_(deadChars) {}

  // Every key-down starts afresh: text translated for an earlier key is never typed later.
  void KeyDown();
  // The platform's translation of this key-down (empty when it gave none). True when it gave
  // characters: the key message is then swallowed after the key commands ran.
  bool Translated(std::u16string_view chars);
  // The platform reported a dead character; it waits for the next translated key.
  void DeadChar(char16_t deadChar) { pendingDead_ = deadChar; }

  // A character message arrived: the text to type for it (the key-down's translation the first
  // time, the character itself when there was none). Empty when nothing is to be typed: the rest
  // of a translation already typed, or the first half of a surrogate pair waiting for its second.
  String CharTyped(char16_t ch);
  // The character is not typed (read-only, control character): the translation goes with it.
  void ClearKeys();
  // A key command took this key-down: the characters it translated into are not typed. With
  // Untranslated the one character message a key without a translation may still bring (text
  // that arrives from an input method after the key) is dropped as well.
  void DropKeyText(bool untranslated);

  const String& Keys() const { return FKeys; }
  char16_t PendingDeadChar() const { return pendingDead_; }

 private:
  String CombineWithDeadChar(std::u16string_view chars) const;
  String TakeSurrogateHalf(char16_t ch);

  const TKsDeadCharList& deadChars_;
  String FKeys;
  char16_t pendingDead_ = 0;
  char16_t pendingHighSurrogate_ = 0;
  // Character messages still to come for a translation that was typed at the first of them.
  int echoesToSkip_ = 0;
  int translatedLength_ = 0;
};

}  // namespace kestrel
