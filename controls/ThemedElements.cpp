#include "controls/ThemedElements.h"

namespace kestrel {

const char16_t* ThemedElementClassName(TThemedElement element) {
  static constexpr const char16_t* kNames[kThemedElementCount] = {
      u"BUTTON",   u"CLOCK",    u"COMBOBOX", u"EDIT",      u"EXPLORERBAR", u"HEADER",     u"LISTVIEW", u"MENU",
      u"PAGE",     u"PROGRESS", u"REBAR",    u"SCROLLBAR", u"SPIN",        u"STARTPANEL", u"STATUS",   u"TAB",
      u"TASKBAND", u"TASKBAR",  u"TOOLBAR",  u"TOOLTIP",   u"TRACKBAR",    u"TRAYNOTIFY", u"TREEVIEW", u"WINDOW"};
  return element < kThemedElementCount ? kNames[element] : u"";
}

}  // namespace kestrel
