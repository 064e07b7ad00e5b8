#pragma once
// The gallery's styles page: panels, a themed control and a label taking their looks from a
// style manager, with buttons that load one of the style sheets in data/styles (or none) into
// it; every control repaints at once. The upper row follows the platform theme, the lower one
// is classic. KESTREL_GALLERY_STYLE=<sheet> picks the sheet the page starts with.

#include <vector>

#include "foundation/VnThemeMode.h"
#include "framework/Form.h"

namespace kestrel {
class TControl;
class TKsStyleManager;
class TLabel;
}  // namespace kestrel

namespace kestrel::gallery {

class TStylesForm : public TForm {
 public:
  explicit TStylesForm(TComponent* owner);

 private:
  void AddRow(TVnThemeMode mode, int top);
  void LoadSheet(const String& name);
  void StyleLabels();
  // Every styled control back to its own look, so that one sheet's values do not linger.
  void ResetLooks();

  TKsStyleManager* styles_;
  TLabel* sheetName_;
  std::vector<TLabel*> notes_;
  std::vector<TControl*> styled_;
};

}  // namespace kestrel::gallery
