#include "controls/VnThemeServices.h"

#include "controls/ProcessWideObject.h"
#include "controls/VnThemeModeRule.h"
#include "controls/VnThemeRenderer.h"
#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "framework/SysUtils.h"
#include "framework/Thread.h"
#include "framework/UtilWindow.h"
#include "platform/theme/VsStyle.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TVnThemeServices, TObject)

namespace {

// WM_SETTINGCHANGE's wParam when the non-client metrics changed; the platform layer has no name
// for it.
constexpr pf::WPARAM kSetNonClientMetrics = 42;  // SPI_SETNONCLIENTMETRICS

bool ApplicationUsesThemes() {
  const TVnApplication* app = VnApplication();
  return app && app->UseXPThemes();
}

bool Succeeded(pf::HRESULT result) { return result >= 0; }

}  // namespace

TVnThemeServices::TVnThemeServices() : FUseThemes(VnFrameworkUsesThemes()) {
  FHWND = AllocateHWnd([this](TMessage& message) { WndProc(message); });
  HookMainWindow();
}

TVnThemeServices::~TVnThemeServices() {
  for (int i = 0; i < RendererCount(); ++i)
    if (TVnThemeRenderer* renderer = RendererAt(i)) renderer->registered_ = false;
  if (mainWindowHook_ && ApplicationExists()) Application()->UnhookMainWindow(mainWindowHook_);
  CloseThemes();
  if (FHWND) DeallocateHWnd(FHWND);
}

void TVnThemeServices::WndProc(TMessage& message) {
  if (message.Msg != pf::WM_THEMECHANGED) {
    DefaultUtilWindowProc(FHWND, message);
    return;
  }
  FUseThemes = VnFrameworkUsesThemes();
  CloseThemes();
  if (!ApplicationUsesThemes()) return;
  FSystemThemeIsChanging = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FSystemThemeIsChanging};
  ApplyThemeChange();
}

TVnThemeMode TVnThemeServices::UseTheme(TVnThemeMode mode) const {
  return ResolveThemeMode(mode, ThemesEnabled(ttmNative), ApplicationUsesThemes());
}

bool TVnThemeServices::ThemesEnabled(TVnThemeMode mode) const {
  switch (mode) {
    case ttmNone: return true;
    case ttmPlatform: return FUseThemes;
    case ttmNative: return FCurrentRenderer && FCurrentRenderer->Enabled();
  }
  return false;
}

TVnThemeRenderer* TVnThemeServices::RendererAt(int index) const {
  return static_cast<TVnThemeRenderer*>(FAvailableRenderers.Objects(index));
}

void TVnThemeServices::RegisterThemeRenderer(TVnThemeRenderer* renderer) {
  if (!renderer || FAvailableRenderers.IndexOfObject(renderer) >= 0) return;
  const String name = renderer->GetThemeRendererName();
  FAvailableRenderers.AddObject(name, renderer);
  renderer->registered_ = true;
  if (!FCurrentRenderer) SelectThemeRenderer(name);
}

void TVnThemeServices::UnregisterThemeRenderer(TVnThemeRenderer* renderer) {
  for (int i = FAvailableRenderers.IndexOfObject(renderer); i >= 0; i = FAvailableRenderers.IndexOfObject(renderer))
    FAvailableRenderers.Delete(i);
  if (renderer) renderer->registered_ = false;
  if (!renderer || FCurrentRenderer != renderer) return;
  FCurrentRenderer = nullptr;
  ApplyThemeChange();
}

void TVnThemeServices::SelectRenderer(TVnThemeRenderer* renderer) {
  if (!renderer || !renderer->ActivateDefaultTheme(String(), true)) return;
  FCurrentRenderer = renderer;
  ApplyThemeChange();
}

void TVnThemeServices::SelectThemeRenderer(const String& name) {
  const int index = FAvailableRenderers.IndexOf(name);  // without regard to case
  if (index >= 0) SelectRenderer(RendererAt(index));
}

void TVnThemeServices::SelectThemeRenderer(int index) {
  if (index >= 0 && index < RendererCount()) SelectRenderer(RendererAt(index));
}

bool TVnThemeServices::ActivateColorScheme(const String& scheme) {
  return FCurrentRenderer && FCurrentRenderer->ActivateColorScheme(scheme, true);
}

bool TVnThemeServices::ActivateTheme(const String& fileName, const String& scheme) {
  return FCurrentRenderer && FCurrentRenderer->ActivateTheme(fileName, scheme, true);
}

void TVnThemeServices::DeactivateTheme() {
  if (FCurrentRenderer) FCurrentRenderer->DeactivateTheme();
  ApplyThemeChange();
}

void TVnThemeServices::ApplyThemeChange() {
  if (TVnApplication* app = VnApplication()) app->DoThemeChange();
}

void TVnThemeServices::SetSubstToolBarToButton(bool value) {
  if (value == FSubstToolBarToButton) return;
  FSubstToolBarToButton = value;
  ApplyThemeChange();
}

pf::HTHEME TVnThemeServices::Theme(TThemedElement element) {
  if (element >= kThemedElementCount) return nullptr;
  pf::HTHEME& theme = themes_[element];
  if (!theme) theme = pf::OpenThemeData(nullptr, reinterpret_cast<pf::LPCWSTR>(ThemedElementClassName(element)));
  return theme;
}

void TVnThemeServices::CloseThemes() {
  for (pf::HTHEME& theme : themes_)
    if (theme) pf::CloseThemeData(std::exchange(theme, nullptr));
}

TThemedElementDetails TVnThemeServices::TextDetails(const TThemedElementDetails& details) const {
  if (FSubstToolBarToButton && details.Element == teToolBar && details.Part == pf::TP_BUTTON &&
      details.State == pf::TS_DISABLED)
    return {teButton, details.Part, details.State};
  return details;
}

void TVnThemeServices::DrawElement(TVnThemeMode mode, pf::HDC dc, const TThemedElementDetails& details,
                                   const TRect& rect, const TRect* clipRect) {
  switch (UseTheme(mode)) {
    case ttmPlatform:
      pf::DrawThemeBackground(Theme(details.Element), dc, details.Part, details.State, &rect, clipRect);
      return;
    case ttmNative: FCurrentRenderer->DrawElement(dc, details, rect, clipRect); return;
    case ttmNone: return;
  }
}

bool TVnThemeServices::DrawThemeEdge(TVnThemeMode mode, pf::HDC dc, TThemedElement element, int part, int state,
                                     const TRect& destRect, pf::UINT edge, pf::UINT flags, TRect* contentRect) {
  switch (UseTheme(mode)) {
    case ttmPlatform:
      return Succeeded(pf::DrawThemeEdge(Theme(element), dc, part, state, &destRect, edge, flags, contentRect));
    case ttmNative:
      return FCurrentRenderer->DrawThemeEdge(dc, element, part, state, destRect, edge, flags, contentRect);
    case ttmNone: break;
  }
  return false;
}

void TVnThemeServices::DrawThemeText(TVnThemeMode mode, pf::HDC dc, const TThemedElementDetails& details,
                                     const char16_t* text, int count, pf::DWORD flags, pf::DWORD flags2,
                                     const TRect& rect) {
  const TThemedElementDetails d = TextDetails(details);
  switch (UseTheme(mode)) {
    case ttmPlatform:
      pf::DrawThemeText(Theme(d.Element), dc, d.Part, d.State, reinterpret_cast<pf::LPCWSTR>(text), count, flags,
                        flags2, &rect);
      return;
    case ttmNative: FCurrentRenderer->DrawThemeText(dc, d, text, count, flags, flags2, rect); return;
    case ttmNone: return;
  }
}

void TVnThemeServices::DrawThemeParentBackground(TVnThemeMode mode, pf::HWND wnd, pf::HDC dc, const TRect* rect) {
  switch (UseTheme(mode)) {
    case ttmPlatform: pf::DrawThemeParentBackground(wnd, dc, rect); return;
    case ttmNative: FCurrentRenderer->DrawThemeParentBackground(wnd, dc, rect); return;
    case ttmNone: return;
  }
}

TColor TVnThemeServices::GetThemeColor(TVnThemeMode mode, TThemedElement element, int part, int state, int propId) {
  switch (UseTheme(mode)) {
    case ttmPlatform: {
      pf::COLORREF color = 0;
      if (Succeeded(pf::GetThemeColor(Theme(element), part, state, propId, &color))) return static_cast<TColor>(color);
      return clNone;
    }
    case ttmNative: return FCurrentRenderer->GetThemeColor(element, part, state, propId);
    case ttmNone: break;
  }
  return clNone;
}

TColor TVnThemeServices::GetThemeSysColor(TVnThemeMode mode, TThemedElement element, int colorId) {
  switch (UseTheme(mode)) {
    case ttmPlatform: return static_cast<TColor>(pf::GetThemeSysColor(Theme(element), colorId));
    case ttmNative: return FCurrentRenderer->GetThemeSysColor(element, colorId);
    case ttmNone: break;
  }
  return clNone;
}

bool TVnThemeServices::GetThemeFont(TVnThemeMode mode, pf::HDC dc, TThemedElement element, int part, int state,
                                    int propId, pf::LOGFONTW& font) {
  switch (UseTheme(mode)) {
    case ttmPlatform: return Succeeded(pf::GetThemeFont(Theme(element), dc, part, state, propId, &font));
    case ttmNative: return FCurrentRenderer->GetThemeFont(dc, element, part, state, propId, font);
    case ttmNone: break;
  }
  return false;
}

bool TVnThemeServices::GetThemeTextExtent(TVnThemeMode mode, pf::HDC dc, const TThemedElementDetails& details,
                                          const char16_t* text, int count, pf::DWORD flags, const TRect* boundingRect,
                                          TRect& extentRect) {
  switch (UseTheme(mode)) {
    case ttmPlatform:
      return Succeeded(pf::GetThemeTextExtent(Theme(details.Element), dc, details.Part, details.State,
                                              reinterpret_cast<pf::LPCWSTR>(text), count, flags, boundingRect,
                                              &extentRect));
    case ttmNative:
      return FCurrentRenderer->GetThemeTextExtent(dc, details, text, count, flags, boundingRect, extentRect);
    case ttmNone: break;
  }
  return false;
}

bool TVnThemeServices::GetThemeBackgroundExtent(TVnThemeMode mode, pf::HDC dc, const TThemedElementDetails& details,
                                                const TRect& contentRect, TRect& extentRect) {
  switch (UseTheme(mode)) {
    case ttmPlatform:
      return Succeeded(pf::GetThemeBackgroundExtent(Theme(details.Element), dc, details.Part, details.State,
                                                    &contentRect, &extentRect));
    case ttmNative: return FCurrentRenderer->GetThemeBackgroundExtent(dc, details, contentRect, extentRect);
    case ttmNone: break;
  }
  return false;
}

bool TVnThemeServices::GetThemePartSize(TVnThemeMode mode, pf::HDC dc, const TThemedElementDetails& details,
                                        pf::SIZE& size) {
  switch (UseTheme(mode)) {
    case ttmPlatform:
      return Succeeded(
          pf::GetThemePartSize(Theme(details.Element), dc, details.Part, details.State, nullptr, pf::TS_TRUE, &size));
    case ttmNative: return FCurrentRenderer->GetThemePartSize(dc, details, size);
    case ttmNone: break;
  }
  return false;
}

int TVnThemeServices::GetThemeSysSize(TVnThemeMode mode, TThemedElement element, int sizeId) {
  switch (UseTheme(mode)) {
    case ttmPlatform: return pf::GetThemeSysSize(Theme(element), sizeId);
    case ttmNative: return FCurrentRenderer->GetThemeSysSize(element, sizeId);
    case ttmNone: break;
  }
  return 0;
}

TRect TVnThemeServices::ContentRect(TVnThemeMode mode, pf::HDC dc, const TThemedElementDetails& details,
                                    const TRect& boundingRect) {
  switch (UseTheme(mode)) {
    case ttmPlatform: {
      TRect content = boundingRect;
      pf::GetThemeBackgroundContentRect(Theme(details.Element), dc, details.Part, details.State, &boundingRect,
                                        &content);
      return content;
    }
    case ttmNative: return FCurrentRenderer->ContentRect(dc, details, boundingRect);
    case ttmNone: break;
  }
  return boundingRect;
}

namespace {

pf::BOOL SendMetricsNotice(pf::HWND wnd, pf::LPARAM) {
  pf::SendMessageW(wnd, CM_VNNCMETRICSCHANGED, kSetNonClientMetrics, 0);
  return pf::TRUE;
}

// Each top-level window, then every window below it at any depth.
pf::BOOL SendMetricsNoticeToTree(pf::HWND wnd, pf::LPARAM) {
  SendMetricsNotice(wnd, 0);
  pf::EnumChildWindows(wnd, SendMetricsNotice, 0);
  return pf::TRUE;
}

}  // namespace

void TVnThemeServices::HookMainWindow() {
  if (mainWindowHook_ || !ApplicationExists()) return;
  mainWindowHook_ = Application()->HookMainWindow([](TMessage& message) {
    if (message.Msg == pf::WM_SETTINGCHANGE && message.WParam == kSetNonClientMetrics)
      pf::EnumThreadWindows(pf::GetCurrentThreadId(), SendMetricsNoticeToTree, 0);
    return false;  // the settings message takes its normal course
  });
}

namespace {

TVnThemeServices* MakeThemeServices() { return new TVnThemeServices(); }

}  // namespace

TVnThemeServices* GlobalThemeServices() {
  TVnThemeServices* services = ProcessWideObject<TVnThemeServices, MakeThemeServices>();
  if (services) services->HookMainWindow();
  return services;
}

}  // namespace kestrel
