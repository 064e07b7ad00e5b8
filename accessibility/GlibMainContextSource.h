#pragma once
// GLib's default main context served by the message loop: its descriptors join the backend's
// wait and its timeouts shorten it, so what runs on that context (the accessibility bridge's
// D-Bus traffic) is answered while the program is idle, busy or inside a modal loop, and
// nothing wakes the program when nothing happens.

#include <vector>

#include "platform/window/WaitSource.h"

// Last: GLib and D-Bus define TRUE and FALSE as macros, which the platform's constants must precede.
#include <glib.h>

namespace kestrel {

class GlibMainContextSource : public platform::WaitSource {
 public:
  GlibMainContextSource();
  ~GlibMainContextSource() override;
  GlibMainContextSource(const GlibMainContextSource&) = delete;
  GlibMainContextSource& operator=(const GlibMainContextSource&) = delete;

  void BeforeWait(std::vector<pollfd>& fds, int& timeoutMs) override;
  void AfterWait(const std::vector<pollfd>& fds) override;

 private:
  GMainContext* context_;
  bool owner_ = false;
  bool prepared_ = false;
  gint priority_ = 0;
  std::vector<GPollFD> glibFds_;
  size_t first_ = 0;  // where ours start among the wait's descriptors
};

}  // namespace kestrel
