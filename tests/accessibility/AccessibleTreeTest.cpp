#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accessibility/AccessibleNode.h"
#include "accessibility/AccessibleTree.h"
#include "accessibility/AtkToolkit.h"
#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/CustomControl.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/Label.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/MessageBox.h"
#include "platform/window/WindowApi.h"

// Last: GLib defines TRUE and FALSE as macros, which the platform's constants must precede.
#include <atk/atk.h>

namespace kestrel {
namespace {

void Pump() {
  for (int i = 0; i < 20 && platform::HeadlessBackend::Pump() > 0; ++i) {
  }
}

std::string NameOf(AtkObject* object) { return atk_object_get_name(object); }

bool HasState(AtkObject* object, AtkStateType state) {
  AtkStateSet* set = atk_object_ref_state_set(object);
  const bool has = atk_state_set_contains_state(set, state);
  g_object_unref(set);
  return has;
}

// The child of `parent` with `role` and `name` (borrowed), or null.
AtkObject* Child(AtkObject* parent, AtkRole role, const std::string& name) {
  for (int i = 0; i < atk_object_get_n_accessible_children(parent); ++i) {
    AtkObject* child = atk_object_ref_accessible_child(parent, i);
    g_object_unref(child);  // the tree keeps it
    if (atk_object_get_role(child) == role && NameOf(child) == name) return child;
  }
  return nullptr;
}

std::string TextOf(AtkObject* object) {
  gchar* text = atk_text_get_text(ATK_TEXT(object), 0, -1);
  std::string result = text;
  g_free(text);
  return result;
}

// A shown form with a button, a check box, a label naming an edit, and a panel that can be laid
// over the button; the accessible tree listens while it lives.
class AccessibleTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallAtkToolkit();
    AccessibleTree::Get().Install();
    form_ = TCustomForm::Create<TForm>(nullptr);
    form_->SetPosition(poDesigned);
    form_->SetBounds(50, 50, 300, 200);
    form_->SetCaption(u"Settings");
    button_ = Make<TButton>(u"&Apply", 10, 10);
    button_->SetDefault(true);
    button_->OnClick = [this](TObject*) { ++clicks_; };
    check_ = Make<TCheckBox>(u"Remember", 10, 40);
    edit_ = Make<TEdit>(u"typed", 10, 100);
    label_ = Make<TLabel>(u"&User name", 10, 80);
    label_->SetFocusControl(edit_);
    cover_ = Make<TCustomControl>(u"", 0, 0);
    cover_->SetBounds(0, 0, 120, 70);
    cover_->Hide();
    form_->Show();
    Pump();
  }

  void TearDown() override {
    form_->BeforeDestruction();
    delete form_;
    Pump();
    AccessibleTree::Get().Uninstall();
  }

  template <class T>
  T* Make(const String& caption, int left, int top) {
    auto* control = new T(form_);
    control->SetParent(form_);
    control->SetBounds(left, top, 100, 22);
    control->SetText(caption);
    return control;
  }

  AtkObject* Frame() { return AccessibleTree::Get().ObjectFor(AccessibleNode::ForWindow(form_->Handle())); }

  TForm* form_ = nullptr;
  TButton* button_ = nullptr;
  TCheckBox* check_ = nullptr;
  TEdit* edit_ = nullptr;
  TLabel* label_ = nullptr;
  TCustomControl* cover_ = nullptr;
  int clicks_ = 0;
};

TEST_F(AccessibleTreeTest, FormAndControlsHaveRolesNamesStatesAndTexts) {
  AtkObject* root = AccessibleTree::Get().Root();
  EXPECT_EQ(atk_object_get_role(root), ATK_ROLE_APPLICATION);
  AtkObject* frame = Child(root, ATK_ROLE_FRAME, "Settings");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(atk_object_get_parent(frame), root);
  EXPECT_TRUE(HasState(frame, ATK_STATE_ACTIVE));

  AtkObject* button = Child(frame, ATK_ROLE_PUSH_BUTTON, "Apply");  // without the accelerator mark
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(atk_object_get_parent(button), frame);
  EXPECT_EQ(atk_object_get_index_in_parent(button), 0);
  for (AtkStateType s : {ATK_STATE_ENABLED, ATK_STATE_SHOWING, ATK_STATE_FOCUSABLE, ATK_STATE_DEFAULT})
    EXPECT_TRUE(HasState(button, s)) << atk_state_type_get_name(s);
  gint x, y, w, h;
  atk_component_get_extents(ATK_COMPONENT(button), &x, &y, &w, &h, ATK_XY_WINDOW);
  const TPoint client = form_->ClientToScreen(Point(10, 10));
  platform::RECT frameRect{};
  platform::GetWindowRect(form_->Handle(), &frameRect);
  EXPECT_EQ(x, client.x - frameRect.left);
  EXPECT_EQ(y, client.y - frameRect.top);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 22);

  AtkObject* check = Child(frame, ATK_ROLE_CHECK_BOX, "Remember");
  ASSERT_NE(check, nullptr);
  EXPECT_TRUE(HasState(check, ATK_STATE_CHECKABLE));
  EXPECT_FALSE(HasState(check, ATK_STATE_CHECKED));
  check_->SetChecked(true);
  EXPECT_TRUE(HasState(check, ATK_STATE_CHECKED));

  // The label names the edit it is the FocusControl of; the edit's text is its content.
  AtkObject* label = Child(frame, ATK_ROLE_LABEL, "User name");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(TextOf(label), "User name");
  AtkObject* edit = Child(frame, ATK_ROLE_ENTRY, "User name");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(TextOf(edit), "typed");
  EXPECT_TRUE(HasState(edit, ATK_STATE_EDITABLE));
  AtkRelationSet* relations = atk_object_ref_relation_set(edit);
  AtkRelation* labelledBy = atk_relation_set_get_relation_by_type(relations, ATK_RELATION_LABELLED_BY);
  ASSERT_NE(labelledBy, nullptr);
  EXPECT_EQ(g_ptr_array_index(atk_relation_get_target(labelledBy), 0), label);
  g_object_unref(relations);
}

TEST_F(AccessibleTreeTest, ActionClicksFromTheMessageLoopNotInsideTheCall) {
  AtkObject* button = Child(Frame(), ATK_ROLE_PUSH_BUTTON, "Apply");
  ASSERT_NE(button, nullptr);
  ASSERT_EQ(atk_action_get_n_actions(ATK_ACTION(button)), 1);
  EXPECT_STREQ(atk_action_get_name(ATK_ACTION(button), 0), "click");
  EXPECT_TRUE(atk_action_do_action(ATK_ACTION(button), 0));
  EXPECT_EQ(clicks_, 0);
  Pump();
  EXPECT_EQ(clicks_, 1);
  // A disabled button does nothing.
  button_->SetEnabled(false);
  EXPECT_FALSE(atk_action_do_action(ATK_ACTION(button), 0));
  Pump();
  EXPECT_EQ(clicks_, 1);
}

struct StateLog {
  std::vector<std::pair<std::string, bool>> changes;
  static void Heard(AtkObject*, gchar* name, gboolean on, gpointer data) {
    static_cast<StateLog*>(data)->changes.emplace_back(name, on != FALSE);
  }
};

TEST_F(AccessibleTreeTest, ControlCoveredWholeStopsShowingAndIsToldSo) {
  AtkObject* button = Child(Frame(), ATK_ROLE_PUSH_BUTTON, "Apply");
  ASSERT_NE(button, nullptr);
  StateLog log;
  g_signal_connect(button, "state-change", G_CALLBACK(StateLog::Heard), &log);
  cover_->Show();
  EXPECT_FALSE(HasState(button, ATK_STATE_SHOWING));
  EXPECT_TRUE(HasState(button, ATK_STATE_VISIBLE));  // still there, only hidden under the panel
  cover_->Hide();
  EXPECT_TRUE(HasState(button, ATK_STATE_SHOWING));
  const std::vector<std::pair<std::string, bool>> expected{{"showing", false}, {"showing", true}};
  EXPECT_EQ(log.changes, expected);
  g_signal_handlers_disconnect_by_data(button, &log);
}

TEST_F(AccessibleTreeTest, FocusAndTextChangesAreTold) {
  AtkObject* check = Child(Frame(), ATK_ROLE_CHECK_BOX, "Remember");
  AtkObject* label = Child(Frame(), ATK_ROLE_LABEL, "User name");
  ASSERT_TRUE(check && label);
  StateLog log;
  g_signal_connect(check, "state-change", G_CALLBACK(StateLog::Heard), &log);
  int inserted = -1;
  g_signal_connect(label, "text-changed::insert",
                   G_CALLBACK(+[](AtkObject*, gint, gint length, gpointer data) { *static_cast<int*>(data) = length; }),
                   &inserted);
  check_->SetFocus();
  label_->SetCaption(u"Login");
  EXPECT_EQ(log.changes, (std::vector<std::pair<std::string, bool>>{{"focused", true}}));
  EXPECT_EQ(inserted, 5);
  EXPECT_EQ(TextOf(label), "Login");
  g_signal_handlers_disconnect_by_data(check, &log);
  g_signal_handlers_disconnect_by_data(label, &inserted);
}

TEST_F(AccessibleTreeTest, DestroyedControlLeavesADefunctObject) {
  AtkObject* check = Child(Frame(), ATK_ROLE_CHECK_BOX, "Remember");
  ASSERT_NE(check, nullptr);
  g_object_ref(check);  // as the bridge holds it
  delete check_;
  EXPECT_TRUE(HasState(check, ATK_STATE_DEFUNCT));
  EXPECT_EQ(atk_object_get_n_accessible_children(Frame()), 4);
  EXPECT_EQ(Child(Frame(), ATK_ROLE_CHECK_BOX, "Remember"), nullptr);
  g_object_unref(check);
}

// A window of another class keeps something else in its extra data: it is a window, no control.
TEST(AccessibleNode, WindowOfAnotherClassIsNoControl) {
  platform::WNDCLASSEXW wc{};
  wc.lpfnWndProc = platform::DefWindowProcW;
  wc.cbWndExtra = sizeof(void*);
  wc.lpszClassName = u"AccessibleNodeTestForeign";
  platform::RegisterClassExW(&wc);
  platform::HWND foreign = platform::CreateWindowExW(0, wc.lpszClassName, u"", platform::WS_POPUP, 0, 0, 10, 10,
                                                     nullptr, nullptr, nullptr, nullptr);
  platform::SetWindowLongPtrW(foreign, 0, 1);  // an answer, a count: anything but a control
  const AccessibleNode node = AccessibleNode::ForWindow(foreign);
  EXPECT_EQ(node.control, nullptr);
  EXPECT_EQ(node.window, foreign);
  platform::DestroyWindow(foreign);
  platform::UnregisterClassW(wc.lpszClassName, nullptr);
}

// The message box: an alert with its text and buttons; its button's action answers it.
TEST_F(AccessibleTreeTest, MessageBoxIsAnAlertAnsweredThroughItsButton) {
  std::string role, text, buttonName;
  bool acted = false;
  platform::SetMessageBoxShownHook([&](platform::HWND dialog) {
    const AccessibleNode node = AccessibleNode::ForWindow(dialog);
    EXPECT_EQ(node.control, nullptr);  // its extra data is no control
    AtkObject* alert = AccessibleTree::Get().ObjectFor(node);
    role = atk_role_get_name(atk_object_get_role(alert));
    EXPECT_TRUE(HasState(alert, ATK_STATE_MODAL));
    AtkObject* message = atk_object_ref_accessible_child(alert, 0);
    text = TextOf(message);
    g_object_unref(message);
    AtkObject* ok = atk_object_ref_accessible_child(alert, 2);
    buttonName = NameOf(ok);
    acted = atk_action_do_action(ATK_ACTION(ok), 0);
    g_object_unref(ok);
  });
  const int answer = platform::MessageBoxW(form_->Handle(), u"Disk full.", u"Problem", platform::MB_OKCANCEL);
  platform::SetMessageBoxShownHook(nullptr);
  EXPECT_EQ(role, "alert");
  EXPECT_EQ(text, "Disk full.");
  EXPECT_EQ(buttonName, "Cancel");
  EXPECT_TRUE(acted);
  EXPECT_EQ(answer, platform::IDCANCEL);
}

}  // namespace
}  // namespace kestrel
