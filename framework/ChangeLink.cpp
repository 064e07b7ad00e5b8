#include "framework/ChangeLink.h"

#include <algorithm>

namespace kestrel {

TChangeLink::~TChangeLink() {
  if (list_) list_->Unregister(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(sender_);
}

TChangeLinkList::~TChangeLinkList() {
  for (TChangeLink* link : links_) {
    link->list_ = nullptr;
    link->sender_ = nullptr;
  }
}

void TChangeLinkList::Register(TChangeLink* link) {
  if (!link || link->list_ == this) return;
  if (link->list_) link->list_->Unregister(link);
  link->list_ = this;
  link->sender_ = sender_;
  links_.push_back(link);
}

void TChangeLinkList::Unregister(TChangeLink* link) {
  if (!link || link->list_ != this) return;
  std::erase(links_, link);
  link->list_ = nullptr;
  link->sender_ = nullptr;
}

bool TChangeLinkList::Contains(const TChangeLink* link) const { return link && link->list_ == this; }

void TChangeLinkList::Notify() const {
  // Compared by address only: a link freed by an earlier handler must not be read.
  const std::vector<TChangeLink*> snapshot = links_;
  for (TChangeLink* link : snapshot)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
}

}  // namespace kestrel
