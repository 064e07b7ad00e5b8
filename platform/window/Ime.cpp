#include "platform/window/Ime.h"

#include <algorithm>
#include <cstring>

#include "platform/window/Backend.h"
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
  String result;
  COMPOSITIONFORM form;
  LOGFONTW font{};
  bool hasFont = false;
};

InputContext& Context() {
  static InputContext context;
  return context;
}

HIMC ContextHandle() { return reinterpret_cast<HIMC>(static_cast<std::uintptr_t>(HandleTag::InputContext) << 24 | 1); }

void Post(UINT message, WPARAM wParam, LPARAM lParam) {
  MessageQueue::Current()->Post(detail::MakeMessage(detail::KeyboardTarget(), message, wParam, lParam));
}

}  // namespace

HIMC ImmGetContext(HWND hwnd) { return IsWindow(hwnd) ? ContextHandle() : nullptr; }

BOOL ImmReleaseContext(HWND hwnd, HIMC context) { return IsWindow(hwnd) && context == ContextHandle(); }

LONG ImmGetCompositionStringW(HIMC context, DWORD index, void* buffer, DWORD bufferBytes) {
  if (context != ContextHandle()) return IMM_ERROR_GENERAL;
  const String* text = index == GCS_COMPSTR     ? &Context().composition
                       : index == GCS_RESULTSTR ? &Context().result
                                                : nullptr;
  if (!text) return IMM_ERROR_GENERAL;
  LONG bytes = static_cast<LONG>(text->size() * sizeof(char16_t));
  if (!buffer || bufferBytes == 0) return bytes;
  // Only whole characters are copied; there is no terminating NUL, as on Windows.
  DWORD copy = std::min<DWORD>(static_cast<DWORD>(bytes), bufferBytes) & ~DWORD{1};
  std::memcpy(buffer, text->data(), copy);
  return static_cast<LONG>(copy);
}

BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form) {
  if (context != ContextHandle() || !form) return FALSE;
  Context().form = *form;
  HWND focus = GetFocus();
  if (focus && Wm().HasBackend()) {
    // Tell the native input method where the composition goes, in screen coordinates.
    POINT p = form->ptCurrentPos;
    ClientToScreen(focus, &p);
    Wm().GetBackend().SetTextInputRect({p.x, p.y, p.x + 1, p.y + 1});
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

void InjectComposition(const String& composing) {
  InputContext& c = Context();
  if (composing.empty()) {
    if (!c.composing) return;
    c.composing = false;
    c.composition.clear();
    Post(WM_IME_COMPOSITION, 0, 0);
    Post(WM_IME_ENDCOMPOSITION, 0, 0);
    return;
  }
  if (!c.composing) {
    c.composing = true;
    Post(WM_IME_STARTCOMPOSITION, 0, 0);
  }
  c.composition = composing;
  Post(WM_IME_COMPOSITION, composing.back(), GCS_COMPSTR | GCS_CURSORPOS);
}

void InjectCompositionResult(const String& result) {
  InputContext& c = Context();
  if (!c.composing) Post(WM_IME_STARTCOMPOSITION, 0, 0);
  c.composing = false;
  c.composition.clear();
  c.result = result;
  Post(WM_IME_COMPOSITION, result.empty() ? 0 : result.back(), GCS_RESULTSTR);
  Post(WM_IME_ENDCOMPOSITION, 0, 0);
}

}  // namespace kestrel::platform
