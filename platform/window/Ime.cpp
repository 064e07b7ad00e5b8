#include "platform/window/Ime.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "platform/window/Backend.h"
#include "platform/window/Caret.h"
#include "platform/window/KeyboardLayout.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

constexpr LONG IMM_ERROR_GENERAL = -2;

// One input context serves the thread, as programs only ever talk to the focus window's.
struct InputContext {
  bool composing = false;
  String composition;
  std::vector<BYTE> attributes;  // one per unit of the composition
  LONG cursor = 0;
  String result;
  COMPOSITIONFORM form;
  LOGFONTW font{};
  bool hasFont = false;
  bool open = true;
  DWORD conversion = IME_CMODE_ALPHANUMERIC;
  DWORD sentence = IME_SMODE_NONE;
};

InputContext& Context() {
  static InputContext context;
  return context;
}

// The windows that were given no context; every other window has the thread's. Windows are
// destroyed on their own threads, so the set is shared.
struct Associations {
  std::mutex mutex;
  std::set<HWND> withoutContext;
};

Associations& Unassociated() {
  static Associations associations;
  return associations;
}

bool HasContext(HWND hwnd) {
  Associations& a = Unassociated();
  std::lock_guard lock(a.mutex);
  return !a.withoutContext.contains(hwnd);
}

void SetHasContext(HWND hwnd, bool has) {
  Associations& a = Unassociated();
  std::lock_guard lock(a.mutex);
  if (has) a.withoutContext.erase(hwnd);
  else a.withoutContext.insert(hwnd);
}

HIMC ContextHandle() { return reinterpret_cast<HIMC>(static_cast<std::uintptr_t>(HandleTag::InputContext) << 24 | 1); }

void Post(UINT message, WPARAM wParam, LPARAM lParam) {
  MessageQueue::Current()->Post(detail::MakeMessage(detail::KeyboardTarget(), message, wParam, lParam));
}

void ClearComposition(InputContext& c) {
  c.composing = false;
  c.composition.clear();
  c.attributes.clear();
  c.cursor = 0;
}

// Ends a composition without a result.
void CancelComposition(InputContext& c) {
  if (!c.composing) return;
  ClearComposition(c);
  Post(WM_IME_COMPOSITION, 0, 0);
  Post(WM_IME_ENDCOMPOSITION, 0, 0);
}

bool HasOpenContext(HWND hwnd) { return HasContext(hwnd) && Context().open; }

// Where keyboard input goes now: the focus window, else the active one.
HWND KeyboardWindow() {
  HWND focus = Wm().Focus();
  return focus ? focus : Wm().Active();
}

// Compositions reach the keyboard window only while its input method is on (with no keyboard
// window they go nowhere anyway).
bool Composes() {
  HWND target = KeyboardWindow();
  return !target || HasOpenContext(target);
}

// A change of a context or an association takes effect for the focus window at once.
void FollowContextChange() {
  if (!Wm().OnGuiThread()) return;
  if (!Composes()) CancelComposition(Context());
  detail::FollowFocusWithTextInput(Wm().Focus());
}

LONG CopyOut(const void* data, LONG bytes, void* buffer, DWORD bufferBytes, DWORD unit) {
  if (!buffer || bufferBytes == 0) return bytes;
  // Only whole units are copied; there is no terminating NUL, as on Windows.
  const DWORD copy = std::min<DWORD>(static_cast<DWORD>(bytes), bufferBytes) / unit * unit;
  std::memcpy(buffer, data, copy);
  return static_cast<LONG>(copy);
}

}  // namespace

HIMC ImmGetContext(HWND hwnd) { return IsWindow(hwnd) && HasContext(hwnd) ? ContextHandle() : nullptr; }

BOOL ImmReleaseContext(HWND hwnd, HIMC context) { return IsWindow(hwnd) && context == ContextHandle(); }

HIMC ImmAssociateContext(HWND hwnd, HIMC context) {
  if (!IsWindow(hwnd) || (context && context != ContextHandle())) return nullptr;
  const bool had = HasContext(hwnd);
  if (had != (context != nullptr)) {
    SetHasContext(hwnd, context != nullptr);
    FollowContextChange();
  }
  return had ? ContextHandle() : nullptr;
}

BOOL ImmAssociateContextEx(HWND hwnd, HIMC context, DWORD flags) {
  if (!IsWindow(hwnd) || (flags != 0 && flags != IACE_DEFAULT)) return FALSE;
  if (flags == IACE_DEFAULT) context = ContextHandle();
  else if (context && context != ContextHandle()) return FALSE;
  ImmAssociateContext(hwnd, context);
  return TRUE;
}

BOOL ImmSetOpenStatus(HIMC context, BOOL open) {
  if (context != ContextHandle()) return FALSE;
  InputContext& c = Context();
  if (c.open != (open != FALSE)) {
    c.open = open != FALSE;
    FollowContextChange();
  }
  return TRUE;
}

BOOL ImmGetOpenStatus(HIMC context) { return context == ContextHandle() && Context().open; }

BOOL ImmSetConversionStatus(HIMC context, DWORD conversion, DWORD sentence) {
  if (context != ContextHandle()) return FALSE;
  Context().conversion = conversion;
  Context().sentence = sentence;
  return TRUE;
}

BOOL ImmGetConversionStatus(HIMC context, DWORD* conversion, DWORD* sentence) {
  if (context != ContextHandle()) return FALSE;
  if (conversion) *conversion = Context().conversion;
  if (sentence) *sentence = Context().sentence;
  return TRUE;
}

LONG ImmGetCompositionStringW(HIMC context, DWORD index, void* buffer, DWORD bufferBytes) {
  if (context != ContextHandle()) return IMM_ERROR_GENERAL;
  const InputContext& c = Context();
  switch (index) {
    case GCS_CURSORPOS: return c.cursor;
    case GCS_COMPATTR:
      return CopyOut(c.attributes.data(), static_cast<LONG>(c.attributes.size()), buffer, bufferBytes, 1);
    case GCS_COMPSTR:
    case GCS_RESULTSTR: {
      const String& text = index == GCS_COMPSTR ? c.composition : c.result;
      return CopyOut(text.data(), static_cast<LONG>(text.size() * sizeof(char16_t)), buffer, bufferBytes,
                     sizeof(char16_t));
    }
    default: return IMM_ERROR_GENERAL;
  }
}

BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form) {
  if (context != ContextHandle() || !form) return FALSE;
  Context().form = *form;
  HWND focus = GetFocus();
  if (focus && Wm().HasBackend()) {
    // Tell the native input method where the composition goes, in screen coordinates.
    POINT p = form->ptCurrentPos;
    ClientToScreen(focus, &p);
    const CaretState caret = GetCaretState();
    const LONG height = caret.hwnd == focus ? std::max<LONG>(caret.rect.bottom - caret.rect.top, 1) : 1;
    Wm().GetBackend().SetTextInputRect({p.x, p.y, p.x + 1, p.y + height});
  }
  return TRUE;
}

BOOL ImmGetCompositionWindow(HIMC context, COMPOSITIONFORM* form) {
  if (context != ContextHandle() || !form) return FALSE;
  *form = Context().form;
  return TRUE;
}

BOOL ImmSetCompositionFontW(HIMC context, const LOGFONTW* font) {
  if (context != ContextHandle() || !font) return FALSE;
  Context().font = *font;
  Context().hasFont = true;
  return TRUE;
}

BOOL ImmGetCompositionFontW(HIMC context, LOGFONTW* font) {
  if (context != ContextHandle() || !font || !Context().hasFont) return FALSE;
  *font = Context().font;
  return TRUE;
}

void InjectComposition(const String& composing, int cursor, int targetStart, int targetLength) {
  InputContext& c = Context();
  if (!Composes()) return;
  if (composing.empty()) {
    CancelComposition(c);
    return;
  }
  if (!c.composing) {
    c.composing = true;
    Post(WM_IME_STARTCOMPOSITION, 0, 0);
  }
  const int size = static_cast<int>(composing.size());
  c.composition = composing;
  c.cursor = cursor < 0 || cursor > size ? size : cursor;
  c.attributes.assign(composing.size(), ATTR_INPUT);
  const int first = std::clamp(targetStart, 0, size);
  const int last = std::clamp(targetStart + std::max(targetLength, 0), first, size);
  std::fill(c.attributes.begin() + first, c.attributes.begin() + last, ATTR_TARGET_CONVERTED);
  Post(WM_IME_COMPOSITION, composing.back(), GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
}

void InjectCompositionResult(const String& result) {
  InputContext& c = Context();
  if (!Composes()) return;
  if (!c.composing) Post(WM_IME_STARTCOMPOSITION, 0, 0);
  ClearComposition(c);
  c.result = result;
  Post(WM_IME_COMPOSITION, result.empty() ? 0 : result.back(), GCS_RESULTSTR);
  Post(WM_IME_ENDCOMPOSITION, 0, 0);
}

void InjectInputLanguageChange() {
  HWND active = Wm().Active();
  // Both built-in layouts write Western European text.
  if (active) PostMessageW(active, WM_INPUTLANGCHANGE, ANSI_CHARSET, reinterpret_cast<LPARAM>(GetKeyboardLayout(0)));
}

namespace detail {

void FollowFocusWithTextInput(HWND focus) {
  if (!Wm().HasBackend()) return;
  const bool on =
      focus && IsWindow(focus) && HasOpenContext(focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS);
  if (!on && Context().composing) ClearComposition(Context());
  Wm().GetBackend().SetTextInputEnabled(on);
}

void ForgetInputContext(HWND hwnd) { SetHasContext(hwnd, true); }

}  // namespace detail

}  // namespace kestrel::platform
