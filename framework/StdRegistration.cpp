#include "framework/StdRegistration.h"

#include <mutex>

#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/ClassRegistry.h"
#include "framework/ColorIdentifiers.h"
#include "framework/Edit.h"
#include "framework/Label.h"
#include "framework/Panel.h"
#include "framework/RadioButton.h"
#include "framework/Timer.h"
#include "framework/TypeInfo.h"

namespace kestrel {

void RegisterVisualClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterClasses({&TForm::StaticClass(), &TButton::StaticClass(), &TCheckBox::StaticClass(),
                     &TRadioButton::StaticClass(), &TEdit::StaticClass(), &TLabel::StaticClass(),
                     &TPanel::StaticClass(), &TTimer::StaticClass(), &TFont::StaticClass(), &TPen::StaticClass(),
                     &TBrush::StaticClass()});
    RegisterColorIdentifiers();
  });
}

}  // namespace kestrel
