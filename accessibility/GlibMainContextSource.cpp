#include "accessibility/GlibMainContextSource.h"

#include <algorithm>

namespace kestrel {

GlibMainContextSource::GlibMainContextSource() : context_(g_main_context_default()) {
  owner_ = g_main_context_acquire(context_);
}

GlibMainContextSource::~GlibMainContextSource() {
  if (owner_) g_main_context_release(context_);
}

void GlibMainContextSource::BeforeWait(std::vector<pollfd>& fds, int& timeoutMs) {
  if (!owner_ && !(owner_ = g_main_context_acquire(context_))) return;  // another thread iterates it
  prepared_ = true;
  if (g_main_context_prepare(context_, &priority_)) timeoutMs = 0;  // something is ready already
  gint glibTimeout = -1;
  glibFds_.resize(std::max<size_t>(glibFds_.size(), 8));
  gint count;
  while ((count = g_main_context_query(context_, priority_, &glibTimeout, glibFds_.data(),
                                       static_cast<gint>(glibFds_.size()))) > static_cast<gint>(glibFds_.size()))
    glibFds_.resize(static_cast<size_t>(count));
  glibFds_.resize(static_cast<size_t>(count));
  if (glibTimeout >= 0 && (timeoutMs < 0 || glibTimeout < timeoutMs)) timeoutMs = glibTimeout;
  first_ = fds.size();
  for (const GPollFD& f : glibFds_) fds.push_back({f.fd, static_cast<short>(f.events), 0});
}

void GlibMainContextSource::AfterWait(const std::vector<pollfd>& fds) {
  if (!prepared_) return;
  prepared_ = false;
  for (size_t i = 0; i < glibFds_.size() && first_ + i < fds.size(); ++i)
    glibFds_[i].revents = static_cast<gushort>(fds[first_ + i].revents);
  if (g_main_context_check(context_, priority_, glibFds_.data(), static_cast<gint>(glibFds_.size())))
    g_main_context_dispatch(context_);
}

}  // namespace kestrel
