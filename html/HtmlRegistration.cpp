#include "html/HtmlRegistration.h"

#include <mutex>

#include "controls/ControlRegistration.h"
#include "framework/ClassRegistry.h"
#include "html/KsHTMLContainer.h"
#include "html/KsHTMLLabel.h"

namespace kestrel {

void RegisterHtmlClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterControlClasses();
    RegisterClasses({&TKsHTMLLabel::StaticClass(), &TKsHTMLContainer::StaticClass()});
  });
}

}  // namespace kestrel
