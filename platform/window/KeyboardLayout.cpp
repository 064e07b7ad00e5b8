#include "platform/window/KeyboardLayout.h"

#include <algorithm>
#include <mutex>
#include <string_view>
#include <utility>

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {
namespace {

constexpr UINT_PTR kUs = 0x04090409;
constexpr UINT_PTR kGerman = 0x04070407;

struct State {
  std::mutex mutex;
  UINT_PTR layout = kUs;
  char16_t pendingDead = 0;
};

State& Layouts() {
  static State state;
  return state;
}

UINT_PTR ActiveLayout() {
  std::lock_guard lock(Layouts().mutex);
  return Layouts().layout;
}

struct Modifiers {
  bool shift, ctrl, alt, caps;
};

// One key of a layout. `caps` marks keys Caps Lock shifts (letters, umlauts).
struct KeyRow {
  int vk;
  char16_t plain, shifted, control, altGr;
  bool caps = false;
  bool deadPlain = false, deadShifted = false;
};

constexpr KeyRow kUsKeys[] = {
    {VK_SPACE, u' ', u' ', u' ', 0},    {VK_RETURN, u'\r', u'\r', u'\n', 0}, {VK_BACK, u'\b', u'\b', 0x7F, 0},
    {VK_TAB, u'\t', u'\t', 0, 0},       {VK_ESCAPE, 0x1B, 0x1B, 0x1B, 0},    {VK_OEM_1, u';', u':', 0, 0},
    {VK_OEM_PLUS, u'=', u'+', 0, 0},    {VK_OEM_COMMA, u',', u'<', 0, 0},    {VK_OEM_MINUS, u'-', u'_', 0, 0},
    {VK_OEM_PERIOD, u'.', u'>', 0, 0},  {VK_OEM_2, u'/', u'?', 0, 0},        {VK_OEM_3, u'`', u'~', 0, 0},
    {VK_OEM_4, u'[', u'{', 0x1B, 0},    {VK_OEM_5, u'\\', u'|', 0x1C, 0},    {VK_OEM_6, u']', u'}', 0x1D, 0},
    {VK_OEM_7, u'\'', u'"', 0, 0},      {VK_MULTIPLY, u'*', u'*', 0, 0},     {VK_ADD, u'+', u'+', 0, 0},
    {VK_SUBTRACT, u'-', u'-', 0, 0},    {VK_DECIMAL, u'.', u'.', 0, 0},      {VK_DIVIDE, u'/', u'/', 0, 0},
    {VK_OEM_102, u'\\', u'|', 0x1C, 0},
};

// Control characters sit on the keys where the US layout has [ \ ]: ü, # and + (and < like \).
constexpr KeyRow kGermanKeys[] = {
    {VK_SPACE, u' ', u' ', u' ', 0},
    {VK_RETURN, u'\r', u'\r', u'\n', 0},
    {VK_BACK, u'\b', u'\b', 0x7F, 0},
    {VK_TAB, u'\t', u'\t', 0, 0},
    {VK_ESCAPE, 0x1B, 0x1B, 0x1B, 0},
    {VK_OEM_1, u'ü', u'Ü', 0x1B, 0, true},
    {VK_OEM_PLUS, u'+', u'*', 0x1D, u'~'},
    {VK_OEM_COMMA, u',', u';', 0, 0},
    {VK_OEM_MINUS, u'-', u'_', 0, 0},
    {VK_OEM_PERIOD, u'.', u':', 0, 0},
    {VK_OEM_2, u'#', u'\'', 0x1C, 0},
    {VK_OEM_3, u'ö', u'Ö', 0, 0, true},
    {VK_OEM_4, u'ß', u'?', 0, u'\\'},
    {VK_OEM_5, u'^', u'°', 0, 0, false, true, false},
    {VK_OEM_6, u'´', u'`', 0, 0, false, true, true},
    {VK_OEM_7, u'ä', u'Ä', 0, 0, true},
    {VK_OEM_102, u'<', u'>', 0x1C, u'|'},
    {VK_MULTIPLY, u'*', u'*', 0, 0},
    {VK_ADD, u'+', u'+', 0, 0},
    {VK_SUBTRACT, u'-', u'-', 0, 0},
    {VK_DECIMAL, u',', u',', 0, 0},
    {VK_DIVIDE, u'/', u'/', 0, 0},
};

// Ctrl+Shift on a digit or punctuation key makes the control character of shifted ASCII: ^^ on
// 6 and ^_ on the minus key, nothing elsewhere. (Space, Enter, Backspace and Escape make their
// Ctrl character with or without Shift.)
bool IsOemKey(int vk) { return (vk >= VK_OEM_1 && vk <= 0xC0) || (vk >= VK_OEM_4 && vk <= VK_OEM_102); }
char16_t ShiftControl(int vk) { return vk == VK_OEM_MINUS ? 0x1F : vk == '6' ? 0x1E : 0; }

KeyboardLayout::Key FromRow(const KeyRow& r, const Modifiers& m) {
  if (m.ctrl && m.alt) return {r.altGr, false};
  if (m.ctrl) return {m.shift && IsOemKey(r.vk) ? ShiftControl(r.vk) : r.control, false};
  bool shifted = r.caps ? (m.shift != m.caps) : m.shift;
  return shifted ? KeyboardLayout::Key{r.shifted, r.deadShifted} : KeyboardLayout::Key{r.plain, r.deadPlain};
}

KeyboardLayout::Key Letter(int vk, const Modifiers& m, bool german) {
  if (m.ctrl && m.alt) {
    if (!german) return {};
    return {static_cast<char16_t>(vk == 'Q' ? u'@' : vk == 'E' ? u'€' : vk == 'M' ? u'µ' : 0), false};
  }
  if (m.ctrl) return {static_cast<char16_t>(vk - 'A' + 1), false};
  return {static_cast<char16_t>((m.shift != m.caps) ? vk : vk + 32), false};
}

KeyboardLayout::Key Digit(int vk, const Modifiers& m, bool german) {
  static constexpr std::u16string_view kUsShifted = u")!@#$%^&*(";
  static constexpr std::u16string_view kGermanShifted = u"=!\"§$%&/()";
  // Holds NULs for digits without an AltGr character, hence the explicit length.
  static constexpr std::u16string_view kGermanAltGr(u"}\0²³\0\0\0{[]", 10);
  size_t i = static_cast<size_t>(vk - '0');
  if (m.ctrl && m.alt) return {german ? kGermanAltGr[i] : char16_t{0}, false};
  if (m.ctrl) return {m.shift ? ShiftControl(vk) : char16_t{0}, false};
  if (!m.shift) return {static_cast<char16_t>(vk), false};
  return {german ? kGermanShifted[i] : kUsShifted[i], false};
}

}  // namespace

KeyboardLayout::Key KeyboardLayout::Translate(UINT virtualKey, const BYTE* keyState) {
  auto down = [&](int vk) { return (keyState[vk] & 0x80) != 0; };
  Modifiers m{down(VK_SHIFT), down(VK_CONTROL), down(VK_MENU), (keyState[VK_CAPITAL] & 0x01) != 0};
  bool german = ActiveLayout() == kGerman;
  int vk = static_cast<int>(virtualKey & 0xFF);
  if (vk >= 'A' && vk <= 'Z') return Letter(vk, m, german);
  if (vk >= '0' && vk <= '9') return Digit(vk, m, german);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
    if (m.ctrl && m.alt) return {};
    return {static_cast<char16_t>('0' + vk - VK_NUMPAD0), false};
  }
  auto find = [&](const auto& rows) -> Key {
    for (const KeyRow& r : rows)
      if (r.vk == vk) return FromRow(r, m);
    return {};
  };
  return german ? find(kGermanKeys) : find(kUsKeys);
}

UINT KeyboardLayout::VirtualKeyAtUsPosition(UINT usVirtualKey) {
  if (ActiveLayout() != kGerman) return usVirtualKey;
  static constexpr std::pair<UINT, UINT> kGermanPositions[] = {
      {VK_OEM_MINUS, VK_OEM_4},
      {VK_OEM_PLUS, VK_OEM_6},
      {VK_OEM_4, VK_OEM_1},
      {VK_OEM_6, VK_OEM_PLUS},
      {VK_OEM_1, VK_OEM_3},
      {VK_OEM_3, VK_OEM_5},
      {VK_OEM_5, VK_OEM_2},
      {VK_OEM_2, VK_OEM_MINUS},
      {'Y', 'Z'},
      {'Z', 'Y'},
  };
  for (auto [us, german] : kGermanPositions)
    if (us == usVirtualKey) return german;
  return usVirtualKey;
}

char16_t KeyboardLayout::Combine(char16_t accent, char16_t base) {
  struct Row {
    char16_t accent;
    std::u16string_view bases, accented;
  };
  static constexpr Row kRows[] = {
      {u'^', u"aeiouAEIOU ", u"âêîôûÂÊÎÔÛ^"},
      {u'´', u"aeiouyAEIOUY ", u"áéíóúýÁÉÍÓÚÝ´"},
      {u'`', u"aeiouAEIOU ", u"àèìòùÀÈÌÒÙ`"},
  };
  for (const Row& r : kRows) {
    if (r.accent != accent) continue;
    size_t i = r.bases.find(base);
    return i == std::u16string_view::npos ? 0 : r.accented[i];
  }
  return 0;
}

int KeyboardLayout::Compose(Key key, LPWSTR buffer, int bufferSize, bool update) {
  if (!key.ch || !buffer || bufferSize <= 0) return 0;
  State& s = Layouts();
  std::lock_guard lock(s.mutex);
  char16_t pending = s.pendingDead;
  char16_t out[2] = {key.ch, 0};
  int n = 1;
  if (!pending && key.dead) {
    if (update) s.pendingDead = key.ch;
    n = -1;
  } else if (pending) {
    // A second dead key does not wait again: both accents come out.
    if (update) s.pendingDead = 0;
    char16_t combined = Combine(pending, key.ch);
    if (combined) {
      out[0] = combined;
    } else {
      out[0] = pending;
      out[1] = key.ch;
      n = 2;
    }
  }
  // Never report more characters than the buffer took, so callers cannot read past it.
  int count = std::min(n < 0 ? 1 : n, bufferSize);
  for (int i = 0; i < count; ++i) buffer[i] = out[i];
  if (bufferSize > count) buffer[count] = 0;
  return n < 0 ? n : count;
}

HKL LoadKeyboardLayoutW(LPCWSTR layoutName, UINT flags) {
  std::u16string_view name = layoutName ? std::u16string_view(layoutName) : std::u16string_view();
  UINT_PTR id = name == u"00000409" ? kUs : name == u"00000407" ? kGerman : 0;
  if (!id) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HKL layout = reinterpret_cast<HKL>(id);
  if (flags & KLF_ACTIVATE) ActivateKeyboardLayout(layout, flags);
  return layout;
}

HKL ActivateKeyboardLayout(HKL layout, UINT) {
  UINT_PTR id = reinterpret_cast<UINT_PTR>(layout);
  if (id != kUs && id != kGerman) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  State& s = Layouts();
  std::lock_guard lock(s.mutex);
  HKL previous = reinterpret_cast<HKL>(s.layout);
  if (s.layout != id) s.pendingDead = 0;
  s.layout = id;
  return previous;
}

HKL GetKeyboardLayout(DWORD) { return reinterpret_cast<HKL>(ActiveLayout()); }

}  // namespace kestrel::platform
