#pragma once
// TLifeToken: a member that tells watchers whether its object still exists. Code that raises an
// event whose handler may free the object takes a TLifeWatch first and touches the object
// afterwards only while the watch says it is alive.
//
//   const TLifeWatch life = Life();
//   if (OnClick) OnClick(this);
//   if (!life.Alive()) return;

#include <memory>

namespace kestrel {

class TLifeWatch {
 public:
  TLifeWatch() = default;
  explicit TLifeWatch(std::weak_ptr<const void> token) : token_(std::move(token)) {}
  bool Alive() const { return !token_.expired(); }

 private:
  std::weak_ptr<const void> token_;
};

class TLifeToken {
 public:
  TLifeToken() = default;
  // A copy belongs to another object, which has a life of its own.
  TLifeToken(const TLifeToken&) : TLifeToken() {}
  TLifeToken& operator=(const TLifeToken&) { return *this; }

  TLifeWatch Watch() const { return TLifeWatch(token_); }

 private:
  std::shared_ptr<const void> token_ = std::make_shared<char>(0);
};

}  // namespace kestrel
