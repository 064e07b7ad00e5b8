#include <gtest/gtest.h>

#include "framework/Exceptions.h"
#include "tests/framework/TestWidgets.h"

namespace kestrel::test {
namespace {

// Records its destruction order in a shared log.
class TLogged : public TComponent {
 public:
  TLogged(TComponent* owner, std::vector<String>& log, const char16_t* name) : TComponent(owner), log_(log) {
    SetName(name);
  }
  ~TLogged() override {
    wasDestroying_ = ComponentState().Contains(csDestroying);
    log_.push_back(Name() + (wasDestroying_ ? u"!" : u""));
  }

 private:
  std::vector<String>& log_;
  bool wasDestroying_ = false;
};

TEST(Component, OwnerFreesOwnedComponentsLastFirstAndMarksThemDestroying) {
  std::vector<String> log;
  auto* root = new TComponent(nullptr);
  new TLogged(root, log, u"A");
  auto* b = new TLogged(root, log, u"B");
  new TLogged(b, log, u"B1");
  new TLogged(root, log, u"C");
  EXPECT_EQ(root->ComponentCount(), 3);
  EXPECT_EQ(root->FindComponent(u"b"), b);
  EXPECT_EQ(root->FindComponent(u"B1"), nullptr);  // only directly owned
  EXPECT_EQ(b->ComponentIndex(), 1);
  delete root;
  EXPECT_EQ(log, (std::vector<String>{u"C!", u"B!", u"B1!", u"A!"}));
}

TEST(Component, DeletingAnOwnedComponentLeavesItsOwner) {
  std::vector<String> log;
  TComponent root(nullptr);
  auto* a = new TLogged(&root, log, u"A");
  auto* watcher = new TWidget(&root);
  delete a;
  EXPECT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(root.FindComponent(u"A"), nullptr);
  // The owner passed the removal on to its other components.
  ASSERT_FALSE(watcher->heard.empty());
  EXPECT_EQ(watcher->heard.back(), std::make_pair(static_cast<TComponent*>(a), opRemove));
}

TEST(Component, NamesAreValidatedAndUniqueWithinTheOwner) {
  TComponent root(nullptr);
  auto* a = new TWidget(&root);
  a->SetName(u"Button1");
  auto* b = new TWidget(&root);
  try {
    b->SetName(u"BUTTON1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), u"A component named BUTTON1 already exists");
  }
  try {
    b->SetName(u"1st");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), u"'1st' is not a valid component name");
  }
  EXPECT_EQ(b->Name(), u"");
  b->SetName(u"_ok2");
  a->SetName(u"BUTTON1");  // renaming itself with another case is fine
  // Unnamed components never clash.
  new TWidget(&root);
  new TWidget(&root);
  // Taking over a component whose name is taken here fails and leaves it with its owner.
  TComponent other(nullptr);
  auto* c = new TWidget(&other);
  c->SetName(u"_ok2");
  EXPECT_THROW(root.InsertComponent(c), EComponentError);
  EXPECT_EQ(c->Owner(), &other);
  // A component cannot own its owner.
  EXPECT_THROW(a->InsertComponent(&root), EComponentError);
}

TEST(Component, InsertAndRemoveMoveOwnershipAndNotify) {
  TWidget first(nullptr);
  TWidget second(nullptr);
  auto* child = new TWidget(&first);
  EXPECT_EQ(first.heard.back(), std::make_pair(static_cast<TComponent*>(child), opInsert));
  second.InsertComponent(child);
  EXPECT_EQ(child->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(first.heard.back(), std::make_pair(static_cast<TComponent*>(child), opRemove));
  second.RemoveComponent(child);
  EXPECT_EQ(child->Owner(), nullptr);
  delete child;  // no owner any more: ours to free
  EXPECT_EQ(second.ComponentCount(), 0);
}

TEST(Component, FreeNotificationClearsLinksInBothDirections) {
  // The buddy dies first: the holder hears it and drops the link.
  auto* holder = new TWidget(nullptr);
  auto* buddy = new TWidget(nullptr);
  holder->SetBuddy(buddy);
  delete buddy;
  EXPECT_EQ(holder->Buddy(), nullptr);
  // The holder dies first: the buddy must not keep a pointer to it (ASan would see a use
  // after free when the buddy dies later and tells its list).
  auto* buddy2 = new TWidget(nullptr);
  holder->SetBuddy(buddy2);
  delete holder;
  delete buddy2;
  // Links survive a change of owner.
  TComponent ownerA(nullptr);
  TComponent ownerB(nullptr);
  auto* h = new TWidget(&ownerA);
  auto* t = new TWidget(&ownerA);
  h->SetBuddy(t);
  ownerB.InsertComponent(t);
  delete t;
  EXPECT_EQ(h->Buddy(), nullptr);
  // Unlinking by hand stops the notification.
  auto* u = new TWidget(&ownerB);
  h->SetBuddy(u);
  h->SetBuddy(nullptr);
  std::size_t heardBefore = h->heard.size();
  delete u;
  EXPECT_EQ(h->heard.size(), heardBefore);
}

TEST(Component, LoadingBracketCoversComponentsCreatedInside) {
  TWidget root(nullptr);
  auto* before = new TWidget(&root);
  root.BeginLoading();
  EXPECT_TRUE(before->ComponentState().Contains(csLoading));
  auto* inside = new TWidget(&root);
  EXPECT_TRUE(inside->ComponentState().Contains(csLoading));
  root.EndLoading();
  for (TWidget* w : {&root, before, inside}) {
    EXPECT_EQ(w->loadedCalls, 1);
    EXPECT_FALSE(w->ComponentState().Contains(csLoading));
  }
  auto* after = new TWidget(&root);
  EXPECT_FALSE(after->ComponentState().Contains(csLoading));
}

TEST(Component, DesigningSpreadsToOwnedComponents) {
  TComponent root(nullptr);
  root.SetDesigning(true);
  auto* child = new TWidget(&root);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  root.SetDesigning(false);
  EXPECT_FALSE(child->ComponentState().Contains(csDesigning));
  EXPECT_EQ(child->ClassName(), u"TWidget");
  EXPECT_TRUE(child->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(child->InheritsFrom(TFancyWidget::StaticClass()));
}

}  // namespace
}  // namespace kestrel::test
