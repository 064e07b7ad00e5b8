#pragma once
// TVnThemesControllerBase: the component that links a theme renderer of the library's own to
// the theme services. A descendant supplies the renderer and registers itself; the base
// implements neither and says so.

#include <cstdint>

#include "framework/Component.h"

namespace kestrel {

class TVnThemeRenderer;

class TVnThemesControllerBase : public TComponent {
  KESTREL_CLASS(TVnThemesControllerBase)
  explicit TVnThemesControllerBase(TComponent* owner);

  // Assigning stores the flag and, when a renderer is available, passes it on; enabling at run
  // time also selects that renderer in the services.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool FormThemeProvidersEnabled() const { return FFormThemeProvidersEnabled; }
  void SetFormThemeProvidersEnabled(bool value) { FFormThemeProvidersEnabled = value; }
  std::uint32_t FormThemeProviderOptions() const { return FFormThemeProviderOptions; }
  void SetFormThemeProviderOptions(std::uint32_t value) { FFormThemeProviderOptions = value; }

  virtual TVnThemeRenderer* GetThemeRenderer();

 protected:
  // Run when the controller joins an owner and when it is removed from it.
  virtual void RegisterController();
  virtual void UnregisterController();
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool FEnabled = true;
  bool FFormThemeProvidersEnabled = false;
  std::uint32_t FFormThemeProviderOptions = 0;
};

}  // namespace kestrel
