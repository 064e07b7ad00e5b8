#include "accessibility/AccessibleTree.h"

#include <algorithm>

#include "accessibility/AccessibleObject.h"
#include "framework/Control.h"
#include "framework/WinControl.h"
#include "platform/core/Unicode.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

void OnWindowEvent(pf::AccessEvent event, pf::HWND hwnd) { AccessibleTree::Get().WindowEvent(event, hwnd); }

void TellStates(AtkObject* object, AccessibleStates now) {
  AccessibleStates& told = ToldStates(object);
  const AccessibleStates changed = told ^ now;
  told = now;
  // Focus last: a screen reader announces the focused object with the states it has by then.
  for (int s = ATK_STATE_INVALID + 1; s < ATK_STATE_LAST_DEFINED && s < 64; ++s)
    if (s != ATK_STATE_FOCUSED && (changed & (AccessibleStates{1} << s)))
      atk_object_notify_state_change(object, static_cast<AtkStateType>(s), (now >> s) & 1);
  if (changed & (AccessibleStates{1} << ATK_STATE_FOCUSED))
    atk_object_notify_state_change(object, ATK_STATE_FOCUSED, (now >> ATK_STATE_FOCUSED) & 1);
}

}  // namespace

AccessibleTree& AccessibleTree::Get() {
  static AccessibleTree* tree = new AccessibleTree();  // lives as long as the bridge may call
  return *tree;
}

void AccessibleTree::Install() {
  pf::SetAccessEventHook(OnWindowEvent);
  SetAccessibleObserver(this);
}

void AccessibleTree::Uninstall() {
  pf::SetAccessEventHook(nullptr);
  SetAccessibleObserver(nullptr);
  for (auto& [node, object] : objects_) {
    MarkDefunct(object);
    g_object_unref(object);
  }
  objects_.clear();
  windows_.clear();
  windowsKnown_ = false;
}

AtkObject* AccessibleTree::Root() {
  if (!root_) root_ = NewApplicationObject();
  return root_;
}

AtkObject* AccessibleTree::ObjectFor(const AccessibleNode& node) {
  if (AtkObject* known = Find(node)) return known;
  AtkObject* object = NewAccessibleObject(node);
  objects_[node] = object;
  return object;
}

AtkObject* AccessibleTree::Find(const AccessibleNode& node) const {
  auto it = objects_.find(node);
  return it == objects_.end() ? nullptr : it->second;
}

const std::vector<pf::HWND>& AccessibleTree::TopWindows() {
  if (!windowsKnown_) {
    windows_ = AccessibleNode::TopLevelWindows();
    windowsKnown_ = true;
  }
  return windows_;
}

void AccessibleTree::Drop(const AccessibleNode& node) {
  auto it = objects_.find(node);
  if (it == objects_.end()) return;
  AtkObject* object = it->second;
  objects_.erase(it);
  MarkDefunct(object);
  g_object_unref(object);
}

void AccessibleTree::TellText(AtkObject* object, const AccessibleNode& node) {
  const TAccessibleInfo info = node.Describe();
  g_object_notify(G_OBJECT(object), "accessible-name");
  if (!ATK_IS_TEXT(object)) return;
  String& told = ToldText(object);
  if (told == info.Text) return;
  const std::string before = Utf16ToUtf8(told), after = Utf16ToUtf8(info.Text);
  ForgetLinks(object);
  told.clear();
  if (!before.empty())
    g_signal_emit_by_name(object, "text-changed::delete", 0, static_cast<gint>(g_utf8_strlen(before.c_str(), -1)));
  told = info.Text;
  if (!after.empty())
    g_signal_emit_by_name(object, "text-changed::insert", 0, static_cast<gint>(g_utf8_strlen(after.c_str(), -1)));
}

void AccessibleTree::ControlChanged(TControl* control, TAccessibleChange change) {
  const AccessibleNode node{control, nullptr, false};
  switch (change) {
    case TAccessibleChange::Destroyed: Drop(node); return;
    case TAccessibleChange::Text:
      if (AtkObject* object = Find(node)) TellText(object, node);
      return;
    case TAccessibleChange::Children:
    case TAccessibleChange::State:
    case TAccessibleChange::Showing: Refresh(); return;
  }
}

void AccessibleTree::WindowEvent(pf::AccessEvent event, pf::HWND hwnd) {
  const AccessibleNode node = AccessibleNode::ForWindow(hwnd);
  switch (event) {
    case pf::AccessEvent::Destroy:
      if (!node.control) {
        Drop({nullptr, hwnd, true});
        Drop(node);
      }
      windowsKnown_ = false;
      RefreshWindows();
      return;
    case pf::AccessEvent::NameChange:
      if (AtkObject* object = Find(node)) TellText(object, node);
      return;
    case pf::AccessEvent::Focus: {
      // The newly focused object is told as gaining the focus even when it is made just now.
      AtkObject* object = ObjectFor(node);
      ToldStates(object) &= ~(AccessibleStates{1} << ATK_STATE_FOCUSED);
      Refresh();
      return;
    }
    case pf::AccessEvent::Activate:
    case pf::AccessEvent::Deactivate:
      Refresh();
      if (AtkObject* object = Find(node); object && ATK_IS_WINDOW(object))
        g_signal_emit_by_name(object, event == pf::AccessEvent::Activate ? "activate" : "deactivate");
      return;
    case pf::AccessEvent::Show:
    case pf::AccessEvent::Hide: windowsKnown_ = false; [[fallthrough]];
    case pf::AccessEvent::StateChange: Refresh(); return;
  }
}

void AccessibleTree::RefreshWindows() {
  if (!root_) return;
  const std::vector<pf::HWND> before = windows_;
  windowsKnown_ = false;
  const std::vector<pf::HWND>& now = TopWindows();
  for (size_t i = 0; i < before.size(); ++i)
    if (std::find(now.begin(), now.end(), before[i]) == now.end()) {
      AtkObject* object = Find(AccessibleNode::ForWindow(before[i]));
      if (!object) continue;  // never asked for, so nobody knows it
      g_signal_emit_by_name(root_, "children-changed::remove", static_cast<gint>(i), object);
      if (ATK_IS_WINDOW(object)) g_signal_emit_by_name(object, "destroy");
    }
  for (size_t i = 0; i < now.size(); ++i)
    if (std::find(before.begin(), before.end(), now[i]) == before.end()) {
      AtkObject* object = ObjectFor(AccessibleNode::ForWindow(now[i]));
      g_signal_emit_by_name(root_, "children-changed::add", static_cast<gint>(i), object);
      if (ATK_IS_WINDOW(object)) g_signal_emit_by_name(object, "create");
    }
}

void AccessibleTree::Refresh() {
  // Telling runs the bridge's listeners, which may ask for objects (and so add to the list).
  if (refreshing_) return;
  refreshing_ = true;
  RefreshWindows();
  std::vector<std::pair<AccessibleNode, AtkObject*>> known(objects_.begin(), objects_.end());
  for (auto& [node, object] : known) {
    g_object_ref(object);
    if (NodeOf(object)) TellStates(object, StatesOf(node));
    g_object_unref(object);
  }
  refreshing_ = false;
}

}  // namespace kestrel
