#include "framework/ChangeLink.h"

#include <gtest/gtest.h>

#include <memory>

namespace kestrel {
namespace {

class TSource : public TObject {
 public:
  TChangeLinkList links{this};
};

using TSourceLink = TChangeLinkOf<TSource>;

TEST(ChangeLinkTest, NotifiesRegisteredLinksWithTheSenderInOrder) {
  TSource source;
  TSourceLink first, second;
  std::vector<int> heard;
  first.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &source);
    heard.push_back(1);
  };
  second.OnChange = [&](TObject*) { heard.push_back(2); };
  source.links.Register(&first);
  source.links.Register(&second);
  source.links.Register(&first);  // already there: stays once
  EXPECT_EQ(source.links.Count(), 2u);
  EXPECT_EQ(first.Sender(), &source);
  source.links.Notify();
  EXPECT_EQ(heard, (std::vector<int>{1, 2}));
}

TEST(ChangeLinkTest, EitherSideMayBeFreedFirst) {
  auto source = std::make_unique<TSource>();
  auto link = std::make_unique<TSourceLink>();
  source->links.Register(link.get());
  link.reset();  // the link leaves the list
  EXPECT_EQ(source->links.Count(), 0u);
  source->links.Notify();

  link = std::make_unique<TSourceLink>();
  source->links.Register(link.get());
  source.reset();  // the sender detaches the link
  EXPECT_FALSE(link->Registered());
  EXPECT_EQ(link->Sender(), nullptr);
  link.reset();  // and freeing the link afterwards touches no freed list (checked by ASan)
}

TEST(ChangeLinkTest, RegisteringElsewhereMovesTheLink) {
  TSource a, b;
  TSourceLink link;
  a.links.Register(&link);
  b.links.Register(&link);
  EXPECT_FALSE(a.links.Contains(&link));
  EXPECT_TRUE(b.links.Contains(&link));
  EXPECT_EQ(link.Sender(), &b);
  a.links.Unregister(&link);  // not a's: ignored
  EXPECT_EQ(link.Sender(), &b);
}

TEST(ChangeLinkTest, HandlerMayFreeOrUnregisterOtherLinks) {
  TSource source;
  auto victim = std::make_unique<TSourceLink>();
  TSourceLink killer, last;
  int victimHeard = 0, lastHeard = 0;
  killer.OnChange = [&](TObject*) { victim.reset(); };
  victim->OnChange = [&](TObject*) { ++victimHeard; };
  last.OnChange = [&](TObject*) {
    ++lastHeard;
    source.links.Unregister(&last);
  };
  source.links.Register(&killer);
  source.links.Register(victim.get());
  source.links.Register(&last);
  source.links.Notify();
  EXPECT_EQ(victimHeard, 0);
  EXPECT_EQ(lastHeard, 1);
  EXPECT_EQ(source.links.Count(), 1u);
}

}  // namespace
}  // namespace kestrel
