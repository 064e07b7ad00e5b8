#pragma once
// TVnThemeServices: the process-wide object all themed painting goes through. Every drawing and
// query call takes the mode the caller asks for, resolves it (UseTheme) and then draws through
// the platform's visual styles (ttmPlatform), through the selected renderer of the library's
// own (ttmNative), or not at all (ttmNone: queries give their neutral answer).

#include <array>
#include <vector>

#include "controls/ThemedDetails.h"
#include "controls/ThemedElements.h"
#include "foundation/VnThemeMode.h"
#include "framework/Canvas.h"
#include "framework/ControlMessages.h"
#include "framework/Object.h"
#include "framework/StringList.h"
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

  // ---- renderers (not owned: a renderer that goes while registered unregisters itself) ----
  TVnThemeRenderer* CurrentRenderer() const { return FCurrentRenderer; }
  // Names with their renderers as objects, in registration order.
  const TStringList& AvailableRenderers() const { return FAvailableRenderers; }
  int RendererCount() const { return FAvailableRenderers.Count(); }
  String RendererName(int index) const { return FAvailableRenderers[index]; }
  // Adds `renderer` under its name; while none is selected it is selected.
  void RegisterThemeRenderer(TVnThemeRenderer* renderer);
  void UnregisterThemeRenderer(TVnThemeRenderer* renderer);
  // Activates the renderer's default theme and, when that succeeds, makes it current and
  // applies the change; a failed activation (false or an exception, which is passed on) leaves
  // the previous renderer current. Unknown names and indexes change nothing.
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
  // One overload per detail enumeration, with and without a clip rectangle.
  template <ThemedDetail E>
  void DrawElement(TVnThemeMode mode, platform::HDC dc, E detail, const TRect& rect, const TRect* clipRect = nullptr) {
    DrawElement(mode, dc, GetDetails(detail), rect, clipRect);
  }
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

  // A detail enumeration value as its record, and a record as the ordinal of its value (-1 when
  // its element's enumeration does not list it).
  template <ThemedDetail E>
  static TThemedElementDetails GetDetails(E detail) {
    return GetThemedDetails(detail);
  }
  static int GetDetailOrd(const TThemedElementDetails& details) { return GetThemedDetailOrd(details); }
  // Puts the non-client metrics notice on the application's main window once it exists.
  void HookMainWindow();
  // The platform theme handle of the element's class, opened on first use and reopened after a
  // theme change (nullptr when the class cannot be opened).
  platform::HTHEME Theme(TThemedElement element);

 private:
  void WndProc(TMessage& message);
  void CloseThemes();
  void SelectRenderer(TVnThemeRenderer* renderer);
  TVnThemeRenderer* RendererAt(int index) const;
  TThemedElementDetails TextDetails(const TThemedElementDetails& details) const;

  platform::HWND FHWND = nullptr;
  bool FSystemThemeIsChanging = false;
  bool FUseThemes = false;
  TVnThemeRenderer* FCurrentRenderer = nullptr;
  TStringList FAvailableRenderers;
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
