#pragma once
// TVnThemeServices: the process-wide object all themed painting goes through. Every drawing and
// query call takes the mode the caller asks for, resolves it (UseTheme) and then draws through
// the platform's visual styles (ttmPlatform), through the selected renderer of the library's
// own (ttmNative), or not at all (ttmNone: queries give their neutral answer).

#include <array>
#include <vector>

#include "controls/ThemedElements.h"
#include "foundation/VnThemeMode.h"
#include "framework/Canvas.h"
#include "framework/ControlMessages.h"
#include "framework/Object.h"
#include "platform/text/Font.h"
#include "platform/theme/UxTheme.h"

namespace kestrel {

class TVnThemeRenderer;

class TVnThemeServices : public TObject {
  KESTREL_CLASS(TVnThemeServices)
  TVnThemeServices();
  ~TVnThemeServices() override;
  TVnThemeServices(const TVnThemeServices&) = delete;
  TVnThemeServices& operator=(const TVnThemeServices&) = delete;

  // The hidden window that hears the platform's theme changes.
  platform::HWND Handle() const { return FHWND; }
  // True while a platform theme change goes round the application.
  bool SystemThemeIsChanging() const { return FSystemThemeIsChanging; }
  // Whether the framework used visual styles (refreshed on every platform theme change).
  bool UseThemes() const { return FUseThemes; }
  TNotifyEvent OnThemeChange;

  // ---- the effective mode ----
  TVnThemeMode UseTheme(TVnThemeMode mode) const;
  // ttmNone: true; ttmPlatform: the framework uses visual styles; ttmNative: a renderer is
  // selected and enabled.
  bool ThemesEnabled(TVnThemeMode mode) const;

  // ---- renderers (not owned: a renderer unregisters itself before it goes) ----
  TVnThemeRenderer* CurrentRenderer() const { return FCurrentRenderer; }
  int RendererCount() const { return static_cast<int>(FAvailableRenderers.size()); }
  const String& RendererName(int index) const { return FAvailableRenderers.at(static_cast<size_t>(index)).name; }
  // Adds `renderer` under its name; the first one registered is selected.
  void RegisterThemeRenderer(TVnThemeRenderer* renderer);
  void UnregisterThemeRenderer(TVnThemeRenderer* renderer);
  // Makes the renderer current, activates its default theme and applies the change; unknown
  // names and indexes change nothing.
  void SelectThemeRenderer(const String& name);
  void SelectThemeRenderer(int index);
  bool ActivateColorScheme(const String& scheme);
  bool ActivateTheme(const String& fileName, const String& scheme);
  void DeactivateTheme();
  // Tells the application that the theme changed (every form and windowed control hears it).
  void ApplyThemeChange();

  // The disabled tool-bar button text is drawn with the button class's look while this is set.
  bool SubstToolBarToButton() const { return FSubstToolBarToButton; }
  void SetSubstToolBarToButton(bool value);

  // ---- drawing ----
  void DrawElement(TVnThemeMode mode, platform::HDC dc, const TThemedElementDetails& details, const TRect& rect,
                   const TRect* clipRect = nullptr);
  void DrawElement(TVnThemeMode mode, platform::HDC dc, TThemedStatus detail, const TRect& rect,
                   const TRect* clipRect = nullptr);
  bool DrawThemeEdge(TVnThemeMode mode, platform::HDC dc, TThemedElement element, int part, int state,
                     const TRect& destRect, platform::UINT edge, platform::UINT flags, TRect* contentRect);
  void DrawThemeText(TVnThemeMode mode, platform::HDC dc, const TThemedElementDetails& details, const char16_t* text,
                     int count, platform::DWORD flags, platform::DWORD flags2, const TRect& rect);
  void DrawThemeParentBackground(TVnThemeMode mode, platform::HWND wnd, platform::HDC dc, const TRect* rect);

  // ---- queries (neutral answers when classic: clNone, false, 0, the bounding rectangle) ----
  TColor GetThemeColor(TVnThemeMode mode, TThemedElement element, int part, int state, int propId);
  TColor GetThemeSysColor(TVnThemeMode mode, TThemedElement element, int colorId);
  bool GetThemeFont(TVnThemeMode mode, platform::HDC dc, TThemedElement element, int part, int state, int propId,
                    platform::LOGFONTW& font);
  bool GetThemeTextExtent(TVnThemeMode mode, platform::HDC dc, const TThemedElementDetails& details,
                          const char16_t* text, int count, platform::DWORD flags, const TRect* boundingRect,
                          TRect& extentRect);
  bool GetThemeBackgroundExtent(TVnThemeMode mode, platform::HDC dc, const TThemedElementDetails& details,
                                const TRect& contentRect, TRect& extentRect);
  bool GetThemePartSize(TVnThemeMode mode, platform::HDC dc, const TThemedElementDetails& details,
                        platform::SIZE& size);
  int GetThemeSysSize(TVnThemeMode mode, TThemedElement element, int sizeId);
  TRect ContentRect(TVnThemeMode mode, platform::HDC dc, const TThemedElementDetails& details,
                    const TRect& boundingRect);

  static TThemedElementDetails GetDetails(TThemedStatus detail);
  // Puts the non-client metrics notice on the application's main window once it exists.
  void HookMainWindow();
  // The platform theme handle of the element's class, opened on first use and reopened after a
  // theme change (nullptr when the class cannot be opened).
  platform::HTHEME Theme(TThemedElement element);

 private:
  struct TRendererEntry {
    String name;
    TVnThemeRenderer* renderer;
  };
  void WndProc(TMessage& message);
  void CloseThemes();
  void SelectRenderer(TVnThemeRenderer* renderer);
  TThemedElementDetails TextDetails(const TThemedElementDetails& details) const;

  platform::HWND FHWND = nullptr;
  bool FSystemThemeIsChanging = false;
  bool FUseThemes = false;
  TVnThemeRenderer* FCurrentRenderer = nullptr;
  std::vector<TRendererEntry> FAvailableRenderers;
  bool FSubstToolBarToButton = true;
  std::array<platform::HTHEME, kThemedElementCount> themes_{};
  int mainWindowHook_ = 0;
};

// Sent (wParam SPI_SETNONCLIENTMETRICS, lParam 0) to every window of the GUI thread when the
// non-client metrics change, so that controls drawing their own scroll bars lay them out again.
inline constexpr platform::UINT CM_VNNCMETRICSCHANGED = 2323;

// The process's theme services, made on first use and freed when the program ends (nullptr after).
TVnThemeServices* GlobalThemeServices();

}  // namespace kestrel
