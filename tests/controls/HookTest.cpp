#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/KsHook.h"
#include "controls/KsHookList.h"
#include "controls/VnHookComponent.h"
#include "framework/Panel.h"
#include "platform/window/WindowApi.h"

namespace kestrel {
namespace {

constexpr platform::UINT kProbe = platform::WM_USER + 50;

// A control that logs the messages its own procedure sees.
class TLoggingControl : public TPanel {
 public:
  TLoggingControl(TComponent* owner, std::vector<std::string>& log) : TPanel(owner), log_(log) {}
  void Own(TMessage& m) { WndProc(m); }

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe || m.Msg == platform::WM_QUIT) log_.push_back("control");
    TPanel::WndProc(m);
  }

 private:
  std::vector<std::string>& log_;
};

struct HookFixture : ::testing::Test {
  std::vector<std::string> log;
  TComponent owner{nullptr};
  TLoggingControl* control = new TLoggingControl(&owner, log);

  TKsHook* Attach(const std::string& name, TControl* target = nullptr) {
    auto* hook = new TKsHook(&owner);
    hook->OnBeforeProcess = [this, name](TObject*, TMessage& m, bool&) {
      if (m.Msg == kProbe || m.Msg == platform::WM_QUIT) log.push_back("before " + name);
    };
    hook->OnAfterProcess = [this, name](TObject*, TMessage& m, bool&) {
      if (m.Msg == kProbe || m.Msg == platform::WM_QUIT) log.push_back("after " + name);
    };
    hook->SetControl(target ? target : control);
    hook->SetActive(true);
    return hook;
  }
  static int ControlHooks() {
    TKsHookList* list = TKsHookList::Instance();
    return list ? list->Count() : 0;
  }
};

TEST_F(HookFixture, LastAttachedSeesMessagesFirstAndHandledStopsAPhase) {
  TKsHook* first = Attach("1");
  TKsHook* second = Attach("2");
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"before 2", "before 1", "control", "after 2", "after 1"}));

  // Handled in the before phase keeps the message from the first hook and the control; the
  // after phase starts afresh and can be stopped in turn.
  log.clear();
  second->OnBeforeProcess = [&](TObject* sender, TMessage&, bool& handled) {
    EXPECT_EQ(sender, second);
    handled = true;
  };
  second->OnAfterProcess = [&](TObject*, TMessage&, bool& handled) { handled = true; };
  control->Perform(kProbe);
  EXPECT_TRUE(log.empty());

  // WM_QUIT skips the before phase only.
  log.clear();
  second->OnBeforeProcess = nullptr;
  second->OnAfterProcess = nullptr;
  control->Perform(platform::WM_QUIT);
  EXPECT_EQ(log, (std::vector<std::string>{"control", "after 1"}));

  // Switching both off gives the control its own procedure back and drops the control hook.
  first->SetActive(false);
  second->SetActive(false);
  EXPECT_EQ(ControlHooks(), 0);
  log.clear();
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"control"}));
}

TEST_F(HookFixture, HandlersMayDetachOrFreeHooksDuringADispatch) {
  TKsHook* first = Attach("1");
  TKsHook* second = Attach("2");
  TKsHook* third = Attach("3");
  // The third hook detaches the second and frees the first while the message is under way.
  third->OnBeforeProcess = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg != kProbe) return;
    log.push_back("before 3");
    second->SetActive(false);
    delete first;
    first = nullptr;
  };
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"before 3", "control", "after 3"}));
  EXPECT_FALSE(second->Hooked());
  // A hook attached in the before phase joins from the after phase on.
  third->OnBeforeProcess = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == kProbe && !second->Active()) second->SetActive(true);
  };
  log.clear();
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"control", "after 2", "after 3"}));
  log.clear();
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"before 2", "control", "after 2", "after 3"}));
}

TEST_F(HookFixture, ControlFreedInsideAHandlerEndsTheDispatchAndLeavesNoEntry) {
  TKsHook* outer = Attach("1");
  TKsHook* inner = Attach("2");
  inner->OnBeforeProcess = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg != kProbe) return;
    log.push_back("free");
    delete control;
  };
  control->Perform(kProbe);
  // Neither the dead control's procedure nor the after phase ran; both hooks let go of it.
  EXPECT_EQ(log, (std::vector<std::string>{"free"}));
  EXPECT_EQ(outer->Control(), nullptr);
  EXPECT_EQ(inner->Control(), nullptr);
  EXPECT_EQ(ControlHooks(), 0);
}

TEST_F(HookFixture, ControlFreedWhileHookedUnhooksAndANewControlStartsClean) {
  TKsHook* hook = Attach("1");
  delete control;
  EXPECT_EQ(hook->Control(), nullptr);
  EXPECT_FALSE(hook->Active());
  EXPECT_EQ(ControlHooks(), 0);
  // The next control (perhaps at the same address) has no hook until one is attached.
  control = new TLoggingControl(&owner, log);
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"control"}));
  // A hook freed while attached gives the control its procedure back.
  delete Attach("2");
  log.clear();
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"control"}));
}

TEST_F(HookFixture, SwitchingControlsMovesAnActiveHook) {
  TKsHook* hook = Attach("1");
  auto* other = new TLoggingControl(&owner, log);
  hook->SetControl(other);
  control->Perform(kProbe);
  other->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"control", "before 1", "control", "after 1"}));
  // Without a control the hook is inactive and stays so when given one.
  hook->SetControl(nullptr);
  EXPECT_FALSE(hook->Active());
  hook->SetControl(control);
  EXPECT_FALSE(hook->Hooked());
}

TEST_F(HookFixture, WhileDesigningOnlyDesignActiveHooksAttach) {
  owner.SetDesigning(true, false);
  auto* hook = new TKsHook(&owner);
  hook->SetControl(control);
  hook->SetActive(true);
  EXPECT_TRUE(hook->Active());
  EXPECT_FALSE(hook->Hooked());
  hook->SetDesignActive(true);
  EXPECT_TRUE(hook->Hooked());
  hook->SetDesignActive(false);
  EXPECT_FALSE(hook->Hooked());
}

TEST_F(HookFixture, TheTwoFamiliesShareOneChainAndVnHooksStartActive) {
  TKsHook* ks = Attach("ks");
  auto* vn = new TVnHookComponent(&owner);
  EXPECT_TRUE(vn->Active());
  vn->OnBeforeProcess = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == kProbe) log.push_back("vn before");
  };
  vn->OnMessage = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == kProbe) log.push_back("vn message");
  };
  vn->SetControl(control);  // hooked at once, in front of the Ks hook
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"vn before", "vn message", "before ks", "control", "after ks"}));
  ASSERT_NE(TKsHookList::Instance(), nullptr);
  EXPECT_EQ(TKsHookList::Instance()->Count(), 1);  // one chain for both families
  // Unhooking in the reverse order gives back the original procedure.
  vn->SetActive(false);
  ks->SetActive(false);
  log.clear();
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"control"}));
}

TEST_F(HookFixture, HooksOfEitherFamilyLeaveTheChainInAnyOrder) {
  TKsHook* ks = Attach("ks");
  auto* vn = new TVnHookComponent(&owner);
  vn->OnMessage = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == kProbe) log.push_back("vn");
  };
  vn->SetControl(control);
  TKsHook* last = Attach("last");
  ks->SetActive(false);
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"before last", "vn", "control", "after last"}));

  // A procedure put in front of the chain by someone else keeps working once every hook is gone.
  control->WindowProc = [this, chain = control->WindowProc](TMessage& m) {
    if (m.Msg == kProbe) log.push_back("wrapper");
    chain(m);
  };
  vn->SetActive(false);
  last->SetActive(false);
  log.clear();
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"wrapper", "control"}));
  // New hooks join the chain still in place.
  ks->SetActive(true);
  log.clear();
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"wrapper", "before ks", "control", "after ks"}));
  EXPECT_EQ(ControlHooks(), 1);
  delete control;
  EXPECT_EQ(ControlHooks(), 0);
}

TEST_F(HookFixture, UtilityWindowAnswersItsPrivateMessages) {
  TKsHook* hook = Attach("1");
  TKsHookList* list = TKsHookList::Instance();
  ASSERT_NE(list, nullptr);
  auto ctlHook = list->Find(control);
  const auto lParam = reinterpret_cast<platform::LPARAM>(ctlHook.get());
  EXPECT_EQ(platform::SendMessageW(list->Handle(), platform::WM_QUERYENDSESSION, 0, 0), 1);
  // 1139 keeps a control hook that still has hooks, and ignores unknown values.
  platform::SendMessageW(list->Handle(), TKsHookList::WM_KSHOOK_REMOVE, 0, lParam);
  platform::SendMessageW(list->Handle(), TKsHookList::WM_KSHOOK_REMOVE, 0, 12345);
  EXPECT_EQ(list->Count(), 1);
  // 1140 puts the hook procedure back in front of one installed over it.
  control->WindowProc = [this](TMessage& m) {
    if (m.Msg == kProbe) log.push_back("intruder");
    control->Own(m);
  };
  control->Perform(kProbe);
  platform::SendMessageW(list->Handle(), TKsHookList::WM_KSHOOK_REINSTALL, 0, lParam);
  control->Perform(kProbe);
  EXPECT_EQ(log, (std::vector<std::string>{"intruder", "control", "before 1", "intruder", "control", "after 1"}));
  hook->SetActive(false);
}

}  // namespace
}  // namespace kestrel
