#include "accessibility/AccessibleObject.h"

#include <string>

#include "accessibility/AccessibleTree.h"
#include "framework/Application.h"
#include "platform/core/Unicode.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

struct KestrelAccessible {
  AtkObject parent;
  AccessibleNode* node;  // null for the application object and once the node is gone
  bool application;
  bool defunct;
  AccessibleStates told;
  String* toldText;
  GPtrArray* links;  // the hyperlinks handed out for the current text
};
struct KestrelAccessibleClass {
  AtkObjectClass parent_class;
};

namespace {

constexpr AccessibleStates Bit(AtkStateType state) { return AccessibleStates{1} << state; }

KestrelAccessible* Self(gpointer object) { return reinterpret_cast<KestrelAccessible*>(object); }
const AccessibleNode* NodeFor(gpointer object) {
  KestrelAccessible* self = Self(object);
  return self->defunct ? nullptr : self->node;
}

gchar* Utf8Dup(const String& text) { return g_strdup(Utf16ToUtf8(text).c_str()); }

// ---- the object ----

void Finalize(GObject* object);
const gchar* GetName(AtkObject* object);
const gchar* GetDescription(AtkObject* object);
AtkObject* GetParent(AtkObject* object);
gint GetNChildren(AtkObject* object);
AtkObject* RefChild(AtkObject* object, gint index);
gint GetIndexInParent(AtkObject* object);
AtkRole GetRole(AtkObject* object);
AtkStateSet* RefStateSet(AtkObject* object);
AtkRelationSet* RefRelationSet(AtkObject* object);

}  // namespace
}  // namespace kestrel

using kestrel::KestrelAccessible;
using kestrel::KestrelAccessibleClass;

extern "C" {
static void kestrel_component_init(AtkComponentIface* iface);
static void kestrel_action_init(AtkActionIface* iface);
static void kestrel_text_init(AtkTextIface* iface);
static void kestrel_hypertext_init(AtkHypertextIface* iface);
static void kestrel_window_init(AtkWindowIface*) {}
}

G_DEFINE_TYPE_WITH_CODE(KestrelAccessible, kestrel_accessible, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, kestrel_component_init))

struct KestrelActionAccessible {
  KestrelAccessible parent;
};
struct KestrelActionAccessibleClass {
  KestrelAccessibleClass parent_class;
};
G_DEFINE_TYPE_WITH_CODE(KestrelActionAccessible, kestrel_action_accessible, kestrel_accessible_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, kestrel_action_init))

struct KestrelTextAccessible {
  KestrelAccessible parent;
};
struct KestrelTextAccessibleClass {
  KestrelAccessibleClass parent_class;
};
G_DEFINE_TYPE_WITH_CODE(KestrelTextAccessible, kestrel_text_accessible, kestrel_accessible_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_TEXT, kestrel_text_init)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_HYPERTEXT, kestrel_hypertext_init))

struct KestrelWindowAccessible {
  KestrelAccessible parent;
};
struct KestrelWindowAccessibleClass {
  KestrelAccessibleClass parent_class;
};
G_DEFINE_TYPE_WITH_CODE(KestrelWindowAccessible, kestrel_window_accessible, kestrel_accessible_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_WINDOW, kestrel_window_init))

// A link in a label's text.
struct KestrelLink {
  AtkHyperlink parent;
  AtkObject* owner;  // the label's object (not referenced: the label keeps its links)
  gchar* uri;
  gint start;
  gint end;
};
struct KestrelLinkClass {
  AtkHyperlinkClass parent_class;
};
G_DEFINE_TYPE(KestrelLink, kestrel_link, ATK_TYPE_HYPERLINK)

static void kestrel_accessible_init(KestrelAccessible*) {}
static void kestrel_action_accessible_init(KestrelActionAccessible*) {}
static void kestrel_action_accessible_class_init(KestrelActionAccessibleClass*) {}
static void kestrel_text_accessible_init(KestrelTextAccessible*) {}
static void kestrel_text_accessible_class_init(KestrelTextAccessibleClass*) {}
static void kestrel_window_accessible_init(KestrelWindowAccessible*) {}
static void kestrel_window_accessible_class_init(KestrelWindowAccessibleClass*) {}

static void kestrel_accessible_class_init(KestrelAccessibleClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = kestrel::Finalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_name = kestrel::GetName;
  atk->get_description = kestrel::GetDescription;
  atk->get_parent = kestrel::GetParent;
  atk->get_n_children = kestrel::GetNChildren;
  atk->ref_child = kestrel::RefChild;
  atk->get_index_in_parent = kestrel::GetIndexInParent;
  atk->get_role = kestrel::GetRole;
  atk->ref_state_set = kestrel::RefStateSet;
  atk->ref_relation_set = kestrel::RefRelationSet;
}

static void kestrel_link_init(KestrelLink*) {}
static void KestrelLinkFinalize(GObject* object) {
  g_free(reinterpret_cast<KestrelLink*>(object)->uri);
  G_OBJECT_CLASS(kestrel_link_parent_class)->finalize(object);
}
static gchar* KestrelLinkUri(AtkHyperlink* link, gint) { return g_strdup(reinterpret_cast<KestrelLink*>(link)->uri); }
static AtkObject* KestrelLinkObject(AtkHyperlink* link, gint) { return reinterpret_cast<KestrelLink*>(link)->owner; }
static gint KestrelLinkStart(AtkHyperlink* link) { return reinterpret_cast<KestrelLink*>(link)->start; }
static gint KestrelLinkEnd(AtkHyperlink* link) { return reinterpret_cast<KestrelLink*>(link)->end; }
static gint KestrelLinkAnchors(AtkHyperlink*) { return 1; }
static gboolean KestrelLinkValid(AtkHyperlink*) { return TRUE; }
static void kestrel_link_class_init(KestrelLinkClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = KestrelLinkFinalize;
  AtkHyperlinkClass* link = ATK_HYPERLINK_CLASS(klass);
  link->get_uri = KestrelLinkUri;
  link->get_object = KestrelLinkObject;
  link->get_start_index = KestrelLinkStart;
  link->get_end_index = KestrelLinkEnd;
  link->get_n_anchors = KestrelLinkAnchors;
  link->is_valid = KestrelLinkValid;
}

namespace kestrel {

namespace {

void Finalize(GObject* object) {
  KestrelAccessible* self = Self(object);
  delete self->node;
  delete self->toldText;
  if (self->links) g_ptr_array_unref(self->links);
  G_OBJECT_CLASS(kestrel_accessible_parent_class)->finalize(object);
}

// The name and description are kept on the object so the returned strings outlive the call.
const gchar* Keep(AtkObject* object, const char* key, const String& text) {
  gchar* utf8 = Utf8Dup(text);
  g_object_set_data_full(G_OBJECT(object), key, utf8, g_free);
  return utf8;
}

String ApplicationName() {
  String title = Application()->Title();
  return title.empty() ? Utf8ToUtf16(g_get_prgname() ? g_get_prgname() : "kestrel") : title;
}

const gchar* GetName(AtkObject* object) {
  if (Self(object)->application) return Keep(object, "kestrel-name", ApplicationName());
  const AccessibleNode* node = NodeFor(object);
  return node ? Keep(object, "kestrel-name", node->Describe().Name) : "";
}

const gchar* GetDescription(AtkObject* object) {
  const AccessibleNode* node = NodeFor(object);
  return node ? Keep(object, "kestrel-description", node->Describe().Description) : "";
}

AtkObject* GetParent(AtkObject* object) {
  if (Self(object)->application) return nullptr;
  const AccessibleNode* node = NodeFor(object);
  if (!node) return nullptr;
  if (auto parent = node->Parent()) return AccessibleTree::Get().ObjectFor(*parent);
  return AccessibleTree::Get().Root();
}

gint GetNChildren(AtkObject* object) {
  if (Self(object)->application) return static_cast<gint>(AccessibleTree::Get().TopWindows().size());
  const AccessibleNode* node = NodeFor(object);
  return node ? static_cast<gint>(node->Children().size()) : 0;
}

AtkObject* RefChild(AtkObject* object, gint index) {
  AtkObject* child = nullptr;
  if (Self(object)->application) {
    const auto& windows = AccessibleTree::Get().TopWindows();
    if (index >= 0 && index < static_cast<gint>(windows.size()))
      child = AccessibleTree::Get().ObjectFor(AccessibleNode::ForWindow(windows[static_cast<size_t>(index)]));
  } else if (const AccessibleNode* node = NodeFor(object)) {
    auto children = node->Children();
    if (index >= 0 && index < static_cast<gint>(children.size()))
      child = AccessibleTree::Get().ObjectFor(children[static_cast<size_t>(index)]);
  }
  return child ? ATK_OBJECT(g_object_ref(child)) : nullptr;
}

gint GetIndexInParent(AtkObject* object) {
  const AccessibleNode* node = NodeFor(object);
  if (!node) return -1;
  if (auto parent = node->Parent()) {
    auto siblings = parent->Children();
    for (size_t i = 0; i < siblings.size(); ++i)
      if (siblings[i] == *node) return static_cast<gint>(i);
    return -1;
  }
  const auto& windows = AccessibleTree::Get().TopWindows();
  for (size_t i = 0; i < windows.size(); ++i)
    if (AccessibleNode::ForWindow(windows[i]) == *node) return static_cast<gint>(i);
  return -1;
}

AtkRole GetRole(AtkObject* object) {
  if (Self(object)->application) return ATK_ROLE_APPLICATION;
  const AccessibleNode* node = NodeFor(object);
  return node ? AtkRoleOf(node->Describe().Role) : ATK_ROLE_INVALID;
}

AtkStateSet* RefStateSet(AtkObject* object) {
  AtkStateSet* set = atk_state_set_new();
  KestrelAccessible* self = Self(object);
  if (self->application) return set;
  const AccessibleNode* node = NodeFor(object);
  if (!node) {
    atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
    return set;
  }
  const AccessibleStates states = StatesOf(*node);
  for (int s = ATK_STATE_INVALID + 1; s < ATK_STATE_LAST_DEFINED && s < 64; ++s)
    if (states & Bit(static_cast<AtkStateType>(s))) atk_state_set_add_state(set, static_cast<AtkStateType>(s));
  return set;
}

void AddRelation(AtkRelationSet* set, AtkRelationType type, const AccessibleNode& target) {
  AtkObject* targets[] = {AccessibleTree::Get().ObjectFor(target)};
  AtkRelation* relation = atk_relation_new(targets, 1, type);
  atk_relation_set_add(set, relation);
  g_object_unref(relation);
}

AtkRelationSet* RefRelationSet(AtkObject* object) {
  AtkRelationSet* set = atk_relation_set_new();
  const AccessibleNode* node = NodeFor(object);
  if (!node || !node->control) return set;
  TAccessibleInfo info = node->Describe();
  if (info.LabelFor) AddRelation(set, ATK_RELATION_LABEL_FOR, {info.LabelFor, nullptr, false});
  if (const TControl* label = LabelOf(*node->control))
    AddRelation(set, ATK_RELATION_LABELLED_BY, {const_cast<TControl*>(label), nullptr, false});
  return set;
}

// ---- component ----

void GetExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType type) {
  *x = *y = *width = *height = 0;
  const AccessibleNode* node = NodeFor(component);
  if (!node) return;
  pf::RECT r = node->ScreenRect();
  if (type == ATK_XY_WINDOW || type == ATK_XY_PARENT) {
    pf::RECT origin{};
    if (type == ATK_XY_WINDOW) {
      if (pf::HWND top = node->TopWindow()) pf::GetWindowRect(top, &origin);
    } else if (auto parent = node->Parent()) {
      origin = parent->ScreenRect();
    }
    r = {r.left - origin.left, r.top - origin.top, r.right - origin.left, r.bottom - origin.top};
  }
  *x = r.left;
  *y = r.top;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
}

gboolean GrabFocus(AtkComponent* component) {
  const AccessibleNode* node = NodeFor(component);
  return node && node->GrabFocus();
}

// ---- action ----

gint GetNActions(AtkAction* action) {
  const AccessibleNode* node = NodeFor(action);
  return node && !node->Describe().Action.empty() ? 1 : 0;
}

gboolean DoAction(AtkAction* action, gint index) {
  const AccessibleNode* node = NodeFor(action);
  return index == 0 && node && !node->Describe().Action.empty() && node->PostAction();
}

const gchar* GetActionName(AtkAction* action, gint index) {
  const AccessibleNode* node = NodeFor(action);
  if (index != 0 || !node) return nullptr;
  return Keep(ATK_OBJECT(action), "kestrel-action", node->Describe().Action);
}

// ---- text ----

String TextOf(gpointer object) {
  const AccessibleNode* node = NodeFor(object);
  return node ? node->Describe().Text : String();
}

gchar* GetText(AtkText* text, gint start, gint end) {
  const std::string utf8 = Utf16ToUtf8(TextOf(text));
  const glong length = g_utf8_strlen(utf8.c_str(), -1);
  if (end < 0 || end > length) end = static_cast<gint>(length);
  if (start < 0) start = 0;
  if (start > end) start = end;
  return g_utf8_substring(utf8.c_str(), start, end);
}

gint GetCharacterCount(AtkText* text) {
  const std::string utf8 = Utf16ToUtf8(TextOf(text));
  return static_cast<gint>(g_utf8_strlen(utf8.c_str(), -1));
}

gunichar GetCharacterAtOffset(AtkText* text, gint offset) {
  const std::string utf8 = Utf16ToUtf8(TextOf(text));
  if (offset < 0 || offset >= g_utf8_strlen(utf8.c_str(), -1)) return 0;
  return g_utf8_get_char(g_utf8_offset_to_pointer(utf8.c_str(), offset));
}

gint GetCaretOffset(AtkText* text) {
  const AccessibleNode* node = NodeFor(text);
  return node ? node->Describe().Caret : -1;
}

gboolean SetCaretOffset(AtkText*, gint) { return FALSE; }

// ---- hypertext ----

GPtrArray* LinksOf(AtkHypertext* hypertext) {
  KestrelAccessible* self = Self(hypertext);
  if (self->links) return self->links;
  self->links = g_ptr_array_new_with_free_func(g_object_unref);
  if (const AccessibleNode* node = NodeFor(hypertext)) {
    for (const TAccessibleLink& l : node->Describe().Links) {
      auto* link = static_cast<KestrelLink*>(g_object_new(kestrel_link_get_type(), nullptr));
      link->owner = ATK_OBJECT(hypertext);
      link->uri = Utf8Dup(l.Target);
      link->start = l.Start;
      link->end = l.End;
      g_ptr_array_add(self->links, link);
    }
  }
  return self->links;
}

gint GetNLinks(AtkHypertext* hypertext) { return static_cast<gint>(LinksOf(hypertext)->len); }

AtkHyperlink* GetLink(AtkHypertext* hypertext, gint index) {
  GPtrArray* links = LinksOf(hypertext);
  if (index < 0 || index >= static_cast<gint>(links->len)) return nullptr;
  return ATK_HYPERLINK(g_ptr_array_index(links, static_cast<guint>(index)));
}

gint GetLinkIndex(AtkHypertext* hypertext, gint offset) {
  GPtrArray* links = LinksOf(hypertext);
  for (guint i = 0; i < links->len; ++i) {
    auto* link = static_cast<KestrelLink*>(g_ptr_array_index(links, i));
    if (offset >= link->start && offset < link->end) return static_cast<gint>(i);
  }
  return -1;
}

GType TypeFor(const TAccessibleInfo& info) {
  switch (info.Role) {
    case TAccessibleRole::Frame:
    case TAccessibleRole::Dialog:
    case TAccessibleRole::Alert: return kestrel_window_accessible_get_type();
    default: break;
  }
  if (info.HasText) return kestrel_text_accessible_get_type();
  if (!info.Action.empty()) return kestrel_action_accessible_get_type();
  return kestrel_accessible_get_type();
}

bool HasBusyPart(const AccessibleNode& node) {
  if (node.Describe().Busy) return true;
  for (const AccessibleNode& child : node.Children())
    if (HasBusyPart(child)) return true;
  return false;
}

}  // namespace

AtkRole AtkRoleOf(TAccessibleRole role) {
  switch (role) {
    case TAccessibleRole::Frame: return ATK_ROLE_FRAME;
    case TAccessibleRole::Dialog: return ATK_ROLE_DIALOG;
    case TAccessibleRole::Alert: return ATK_ROLE_ALERT;
    case TAccessibleRole::PushButton: return ATK_ROLE_PUSH_BUTTON;
    case TAccessibleRole::CheckBox: return ATK_ROLE_CHECK_BOX;
    case TAccessibleRole::RadioButton: return ATK_ROLE_RADIO_BUTTON;
    case TAccessibleRole::Label: return ATK_ROLE_LABEL;
    case TAccessibleRole::Panel: return ATK_ROLE_PANEL;
    case TAccessibleRole::Text: return ATK_ROLE_ENTRY;
    case TAccessibleRole::ProgressBar: return ATK_ROLE_PROGRESS_BAR;
    default: return ATK_ROLE_UNKNOWN;
  }
}

AccessibleStates StatesOf(const AccessibleNode& node) {
  const TAccessibleInfo info = node.Describe();
  AccessibleStates s = 0;
  auto set = [&](AtkStateType state, bool on) {
    if (on) s |= Bit(state);
  };
  set(ATK_STATE_ENABLED, node.Enabled());
  set(ATK_STATE_SENSITIVE, node.Enabled());
  set(ATK_STATE_VISIBLE, node.Visible());
  set(ATK_STATE_SHOWING, node.Showing());
  set(ATK_STATE_FOCUSABLE, info.Focusable);
  set(ATK_STATE_FOCUSED, node.Focused());
  set(ATK_STATE_CHECKABLE, info.Checkable);
  set(ATK_STATE_CHECKED, info.Checked);
  set(ATK_STATE_PRESSED, info.Pressed);
  set(ATK_STATE_DEFAULT, info.Default);
  set(ATK_STATE_MODAL, info.Modal);
  set(ATK_STATE_EDITABLE, info.Editable);
  set(ATK_STATE_SINGLE_LINE, info.Role == TAccessibleRole::Text);
  set(ATK_STATE_MULTI_LINE, info.HasText && info.Role == TAccessibleRole::Label);
  const bool window = TypeFor(info) == kestrel_window_accessible_get_type();
  set(ATK_STATE_ACTIVE, window && node.Window() && pf::GetActiveWindow() == node.Window());
  set(ATK_STATE_BUSY, info.Busy || (window && HasBusyPart(node)));
  set(ATK_STATE_RESIZABLE, false);
  return s;
}

AtkObject* NewAccessibleObject(const AccessibleNode& node) {
  const TAccessibleInfo info = node.Describe();
  auto* self = static_cast<KestrelAccessible*>(g_object_new(TypeFor(info), nullptr));
  self->node = new AccessibleNode(node);
  self->toldText = new String(info.Text);
  self->told = StatesOf(node);
  atk_object_initialize(ATK_OBJECT(self), nullptr);
  return ATK_OBJECT(self);
}

AtkObject* NewApplicationObject() {
  auto* self = static_cast<KestrelAccessible*>(g_object_new(kestrel_accessible_get_type(), nullptr));
  self->application = true;
  self->toldText = new String();
  atk_object_initialize(ATK_OBJECT(self), nullptr);
  return ATK_OBJECT(self);
}

const AccessibleNode* NodeOf(AtkObject* object) { return NodeFor(object); }

void MarkDefunct(AtkObject* object) {
  KestrelAccessible* self = Self(object);
  if (self->defunct) return;
  self->defunct = true;
  atk_object_notify_state_change(object, ATK_STATE_DEFUNCT, TRUE);
}

AccessibleStates& ToldStates(AtkObject* object) { return Self(object)->told; }
String& ToldText(AtkObject* object) { return *Self(object)->toldText; }

void ForgetLinks(AtkObject* object) {
  KestrelAccessible* self = Self(object);
  if (!self->links) return;
  g_ptr_array_unref(self->links);
  self->links = nullptr;
}

}  // namespace kestrel

extern "C" {
static void kestrel_component_init(AtkComponentIface* iface) {
  iface->get_extents = kestrel::GetExtents;
  iface->grab_focus = kestrel::GrabFocus;
}
static void kestrel_action_init(AtkActionIface* iface) {
  iface->get_n_actions = kestrel::GetNActions;
  iface->do_action = kestrel::DoAction;
  iface->get_name = kestrel::GetActionName;
}
static void kestrel_text_init(AtkTextIface* iface) {
  iface->get_text = kestrel::GetText;
  iface->get_character_count = kestrel::GetCharacterCount;
  iface->get_character_at_offset = kestrel::GetCharacterAtOffset;
  iface->get_caret_offset = kestrel::GetCaretOffset;
  iface->set_caret_offset = kestrel::SetCaretOffset;
}
static void kestrel_hypertext_init(AtkHypertextIface* iface) {
  iface->get_n_links = kestrel::GetNLinks;
  iface->get_link = kestrel::GetLink;
  iface->get_link_index = kestrel::GetLinkIndex;
}
}
