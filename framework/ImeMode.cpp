#include "framework/ImeMode.h"

#include "platform/window/Ime.h"
#include "platform/window/KeyboardLayout.h"

namespace kestrel {

namespace pf = platform;

namespace {

// The conversion bits a mode sets; the others (roman input, for one) stay as they are.
constexpr pf::DWORD kModeBits = pf::IME_CMODE_NATIVE | pf::IME_CMODE_KATAKANA | pf::IME_CMODE_FULLSHAPE;

pf::DWORD ConversionOf(TImeMode mode) {
  switch (mode) {
    case imAlpha: return pf::IME_CMODE_FULLSHAPE;
    case imHira:
    case imHanguel: return pf::IME_CMODE_NATIVE | pf::IME_CMODE_FULLSHAPE;
    case imSKata: return pf::IME_CMODE_NATIVE | pf::IME_CMODE_KATAKANA;
    case imKata: return pf::IME_CMODE_NATIVE | pf::IME_CMODE_KATAKANA | pf::IME_CMODE_FULLSHAPE;
    case imChinese:
    case imSHanguel: return pf::IME_CMODE_NATIVE;
    default: return pf::IME_CMODE_ALPHANUMERIC;  // imSAlpha
  }
}

void SetConversion(pf::HIMC context, TImeMode mode) {
  pf::DWORD conversion = 0;
  pf::DWORD sentence = 0;
  pf::ImmGetConversionStatus(context, &conversion, &sentence);
  pf::ImmSetConversionStatus(context, (conversion & ~kModeBits) | ConversionOf(mode), sentence);
}

}  // namespace

const TEnumInfo& ImeModeInfo() {
  static const TEnumInfo info(
      u"TImeMode", {u"imDisable", u"imClose", u"imOpen", u"imDontCare", u"imSAlpha", u"imAlpha", u"imHira", u"imSKata",
                    u"imKata", u"imChinese", u"imSHanguel", u"imHanguel"});
  return info;
}

void ApplyImeMode(pf::HWND window, TImeMode mode) {
  if (!window || mode == imDontCare) return;
  if (mode == imDisable) {
    pf::ImmAssociateContext(window, nullptr);
    return;
  }
  RestoreImeContext(window);
  pf::HIMC context = pf::ImmGetContext(window);
  if (!context) return;
  pf::ImmSetOpenStatus(context, mode != imClose);
  if (mode != imClose && mode != imOpen) SetConversion(context, mode);
  pf::ImmReleaseContext(window, context);
}

void RestoreImeContext(pf::HWND window) {
  if (window) pf::ImmAssociateContextEx(window, nullptr, pf::IACE_DEFAULT);
}

void ApplyImeName(const String& name) {
  if (name.empty()) return;
  if (pf::HKL layout = pf::LoadKeyboardLayoutW(name.c_str(), 0)) pf::ActivateKeyboardLayout(layout, pf::KLF_ACTIVATE);
}

}  // namespace kestrel
