#include "controls/VnThemeRenderer.h"

#include "controls/VnThemeServices.h"
#include "framework/Exceptions.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TVnThemeRenderer, TObject)

namespace {

[[noreturn]] void Abstract() { throw EAbstractError(u"Abstract Error"); }

}  // namespace

TVnThemeRenderer::~TVnThemeRenderer() {
  if (!registered_) return;
  if (TVnThemeServices* services = GlobalThemeServices()) services->UnregisterThemeRenderer(this);
}

TVnThemesControllerBase* TVnThemeRenderer::Controller() {
  throw Exception(u"TVnThemesRenderer.Controller method is not implemented!");
}

void TVnThemeRenderer::Init() { throw Exception(u"TVnThemesRenderer.Init method is not implemented!"); }

String TVnThemeRenderer::GetThemeRendererName() { return String(); }

bool TVnThemeRenderer::ActivateColorScheme(const String&, bool) { Abstract(); }
bool TVnThemeRenderer::ActivateTheme(const String&, const String&, bool) { Abstract(); }
bool TVnThemeRenderer::ActivateDefaultTheme(const String&, bool) { Abstract(); }
void TVnThemeRenderer::DeactivateTheme() { Abstract(); }
TRect TVnThemeRenderer::ContentRect(platform::HDC, const TThemedElementDetails&, const TRect&) { Abstract(); }
bool TVnThemeRenderer::GetThemeBackgroundExtent(platform::HDC, const TThemedElementDetails&, const TRect&, TRect&) {
  Abstract();
}
TColor TVnThemeRenderer::GetThemeColor(TThemedElement, int, int, int) { Abstract(); }
bool TVnThemeRenderer::GetThemeFont(platform::HDC, TThemedElement, int, int, int, platform::LOGFONTW&) { Abstract(); }
bool TVnThemeRenderer::GetThemePartSize(platform::HDC, const TThemedElementDetails&, platform::SIZE&) { Abstract(); }
TColor TVnThemeRenderer::GetThemeSysColor(TThemedElement, int) { Abstract(); }
int TVnThemeRenderer::GetThemeSysSize(TThemedElement, int) { Abstract(); }
bool TVnThemeRenderer::GetThemeTextExtent(platform::HDC, const TThemedElementDetails&, const char16_t*, int,
                                          platform::DWORD, const TRect*, TRect&) {
  Abstract();
}

int TVnThemeRenderer::GetCurrentThemeHandle() { return enabled_ ? 1 : 0; }
void TVnThemeRenderer::RegisterFormThemeProvider(TCustomForm*) {}
void TVnThemeRenderer::UnregisterFormThemeProvider(TCustomForm*) {}
int TVnThemeRenderer::FormThemeProviderOptions(TCustomForm*) { return 0; }

void TVnThemeRenderer::DrawElement(platform::HDC, const TThemedElementDetails&, const TRect&, const TRect*) {
  Abstract();
}
void TVnThemeRenderer::DrawThemeParentBackground(platform::HWND, platform::HDC, const TRect*) { Abstract(); }
bool TVnThemeRenderer::DrawThemeEdge(platform::HDC, TThemedElement, int, int, const TRect&, platform::UINT,
                                     platform::UINT, TRect*) {
  Abstract();
}
void TVnThemeRenderer::DrawThemeText(platform::HDC, const TThemedElementDetails&, const char16_t*, int, platform::DWORD,
                                     platform::DWORD, const TRect&) {
  Abstract();
}

}  // namespace kestrel
