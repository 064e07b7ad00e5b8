#pragma once
// TVnThemeRenderer: the interface of a theme renderer of the library's own (ttmNative). The
// services forward every drawing and query call to the selected renderer. This base implements
// nothing: drawing and queries raise EAbstractError, Controller and Init raise their own
// messages; a descendant overrides what it supports.

#include "controls/ThemedDetails.h"
#include "controls/ThemedElements.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/Object.h"
#include "framework/SysUtils.h"
#include "platform/text/Font.h"

namespace kestrel {

class TCustomForm;
class TVnThemesControllerBase;

class TVnThemeRenderer : public TObject {
  KESTREL_CLASS(TVnThemeRenderer)
  TVnThemeRenderer() = default;
  // One that goes while registered with the theme services unregisters itself first.
  ~TVnThemeRenderer() override;
  TVnThemeRenderer(const TVnThemeRenderer&) = delete;
  TVnThemeRenderer& operator=(const TVnThemeRenderer&) = delete;

  virtual TVnThemesControllerBase* Controller();
  virtual void Init();
  // The name the renderer is registered under (empty in the base).
  virtual String GetThemeRendererName();
  virtual bool ActivateColorScheme(const String& scheme, bool apply);
  virtual bool ActivateTheme(const String& fileName, const String& scheme, bool apply);
  virtual bool ActivateDefaultTheme(const String& scheme, bool apply);
  virtual void DeactivateTheme();

  virtual TRect ContentRect(platform::HDC dc, const TThemedElementDetails& details, const TRect& boundingRect);
  virtual bool GetThemeBackgroundExtent(platform::HDC dc, const TThemedElementDetails& details,
                                        const TRect& contentRect, TRect& extentRect);
  virtual TColor GetThemeColor(TThemedElement element, int part, int state, int propId);
  virtual bool GetThemeFont(platform::HDC dc, TThemedElement element, int part, int state, int propId,
                            platform::LOGFONTW& font);
  virtual bool GetThemePartSize(platform::HDC dc, const TThemedElementDetails& details, platform::SIZE& size);
  virtual TColor GetThemeSysColor(TThemedElement element, int colorId);
  virtual int GetThemeSysSize(TThemedElement element, int sizeId);
  virtual bool GetThemeTextExtent(platform::HDC dc, const TThemedElementDetails& details, const char16_t* text,
                                  int count, platform::DWORD flags, const TRect* boundingRect, TRect& extentRect);
  // 1 while the renderer is enabled, else 0.
  virtual int GetCurrentThemeHandle();
  virtual void RegisterFormThemeProvider(TCustomForm* form);
  virtual void UnregisterFormThemeProvider(TCustomForm* form);
  virtual int FormThemeProviderOptions(TCustomForm* form);

  virtual void DrawElement(platform::HDC dc, const TThemedElementDetails& details, const TRect& rect,
                           const TRect* clipRect);
  // One pair per detail enumeration (with and without a clip rectangle), drawn as the record.
  template <ThemedDetail E>
  void DrawElement(platform::HDC dc, E detail, const TRect& rect, const TRect* clipRect = nullptr) {
    DrawElement(dc, GetThemedDetails(detail), rect, clipRect);
  }
  virtual void DrawThemeParentBackground(platform::HWND wnd, platform::HDC dc, const TRect* rect);
  virtual bool DrawThemeEdge(platform::HDC dc, TThemedElement element, int part, int state, const TRect& destRect,
                             platform::UINT edge, platform::UINT flags, TRect* contentRect);
  virtual void DrawThemeText(platform::HDC dc, const TThemedElementDetails& details, const char16_t* text, int count,
                             platform::DWORD flags, platform::DWORD flags2, const TRect& rect);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }

  bool Registered() const { return registered_; }

 private:
  friend class TVnThemeServices;
  bool enabled_ = false;
  bool registered_ = false;
};

}  // namespace kestrel
