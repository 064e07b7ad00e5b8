#include "framework/StdRegistration.h"

#include <mutex>

#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/ClassRegistry.h"
#include "framework/Edit.h"
#include "framework/Label.h"
#include "framework/RadioButton.h"
#include "framework/Timer.h"
#include "framework/TypeInfo.h"

namespace kestrel {

void RegisterVisualClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterClasses({&TForm::StaticClass(), &TButton::StaticClass(), &TCheckBox::StaticClass(),
                     &TRadioButton::StaticClass(), &TEdit::StaticClass(), &TLabel::StaticClass(),
                     &TTimer::StaticClass(), &TFont::StaticClass(), &TPen::StaticClass(), &TBrush::StaticClass()});
    RegisterIntegerConsts(
        u"TColor",
        [](std::u16string_view ident, std::int64_t& value) {
          TColor color = 0;
          if (!IdentToColor(ident, color)) return false;
          value = color;
          return true;
        },
        [](std::int64_t value, String& ident) {
          const String name = ColorToString(static_cast<TColor>(value));
          if (name.empty() || name[0] == u'$') return false;
          ident = name;
          return true;
        });
  });
}

}  // namespace kestrel
