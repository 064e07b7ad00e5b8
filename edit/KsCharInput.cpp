#include "edit/KsCharInput.h"

#include <algorithm>

namespace kestrel {

void TKsCharInput::KeyDown() {
  FKeys.clear();
  echoesToSkip_ = 0;
  translatedLength_ = 0;
}

bool TKsCharInput::Translated(std::u16string_view chars) {
  if (chars.empty()) return false;
  translatedLength_ = static_cast<int>(chars.size());
  FKeys = pendingDead_ ? CombineWithDeadChar(chars) : String(chars);
  pendingDead_ = 0;
  return true;
}

// The table's combination when there is one, else the dead character followed by the text. A
// translation that already starts with the dead character (the platform typed both) is taken as
// the character after it, so the dead character is never typed twice.
String TKsCharInput::CombineWithDeadChar(std::u16string_view chars) const {
  if (chars.size() >= 2 && chars.front() == pendingDead_) chars.remove_prefix(1);
  char16_t combined = deadChars_.GetDeadChar(chars.front(), pendingDead_);
  if (combined != 0 && !IsHighSurrogate(chars.front())) return combined + String(chars.substr(1));
  return pendingDead_ + String(chars);
}

String TKsCharInput::CharTyped(char16_t ch) {
  if (!FKeys.empty()) {
    // The platform sends a character message per unit of what it typed for the key: as many as
    // the translation, or the dead character and the key's character when they did not combine
    // (two, though this key's own translation came after the platform used the dead state up).
    echoesToSkip_ = std::max(translatedLength_, static_cast<int>(FKeys.size())) - 1;
    String text;
    text.swap(FKeys);
    return text;
  }
  if (echoesToSkip_ > 0) {
    --echoesToSkip_;
    return {};
  }
  return TakeSurrogateHalf(ch);
}

String TKsCharInput::TakeSurrogateHalf(char16_t ch) {
  char16_t high = pendingHighSurrogate_;
  pendingHighSurrogate_ = 0;
  if (IsHighSurrogate(ch)) {
    pendingHighSurrogate_ = ch;
    return {};
  }
  if (IsLowSurrogate(ch)) return high ? String{high, ch} : String{};
  return String(1, ch);
}

void TKsCharInput::DropKeyText(bool untranslated) {
  if (!FKeys.empty()) echoesToSkip_ = std::max(translatedLength_, static_cast<int>(FKeys.size()));
  else if (untranslated && translatedLength_ == 0) echoesToSkip_ = 1;
  FKeys.clear();
}

void TKsCharInput::ClearKeys() {
  FKeys.clear();
  echoesToSkip_ = 0;
}

}  // namespace kestrel
