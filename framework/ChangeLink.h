#pragma once
// Change links: how an object hears that another one changed. The sender keeps a
// TChangeLinkList of the links registered with it and calls Notify; each link fires its
// OnChange with the sender. A link is registered with at most one sender at a time. Either side
// may go first: a link freed while registered leaves its sender's list, and a sender's list
// freed first detaches its links, so neither keeps a pointer to the other once it is gone.
//
// A sender's links are declared as TChangeLinkOf<TSender> (directly or through a named class),
// so Sender() comes back typed.

#include <cstddef>
#include <vector>

#include "framework/Object.h"

namespace kestrel {

class TChangeLinkList;

class TChangeLink : public TObject {
 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  // Fires OnChange with the sender (null when the link is registered nowhere).
  void Change();
  // Whether the link is registered with a sender now.
  bool Registered() const { return list_ != nullptr; }

  TNotifyEvent OnChange;

 protected:
  TObject* SenderObject() const { return sender_; }

 private:
  friend class TChangeLinkList;
  TChangeLinkList* list_ = nullptr;
  TObject* sender_ = nullptr;
};

template <class TSender>
class TChangeLinkOf : public TChangeLink {
 public:
  // The sender the link is registered with, or null.
  TSender* Sender() const { return static_cast<TSender*>(SenderObject()); }
};

// The sender's side: the registered links, in the order of registration, not owned.
class TChangeLinkList {
 public:
  explicit TChangeLinkList(TObject* sender) : sender_(sender) {}
  ~TChangeLinkList();
  TChangeLinkList(const TChangeLinkList&) = delete;
  TChangeLinkList& operator=(const TChangeLinkList&) = delete;

  // Registers `link` here, taking it from the list it was registered with before. Null and an
  // already registered link change nothing.
  void Register(TChangeLink* link);
  // Removes `link` when it is registered here; anything else is ignored.
  void Unregister(TChangeLink* link);
  bool Contains(const TChangeLink* link) const;
  std::size_t Count() const { return links_.size(); }
  // Fires every registered link in order. A link may unregister itself or others while it
  // hears the change; links unregistered meanwhile are skipped.
  void Notify() const;

 private:
  TObject* sender_;
  std::vector<TChangeLink*> links_;
};

}  // namespace kestrel
