#pragma once
// The gallery's main form: one of each control, with a line that reports what was last done.

#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/Label.h"
#include "framework/RadioButton.h"
#include "framework/Timer.h"

#include <map>
#include <string>

namespace kestrel::gallery {

struct TGalleryPage;

class TGalleryForm : public TForm {
 public:
  explicit TGalleryForm(TComponent* owner);

  TLabel* Status() const { return status_; }

 private:
  void Report(const String& text);
  void AddPageButtons(int top);
  void ShowPage(const TGalleryPage& page);
  TLabel* AddSection(const String& title, int top);

  TLabel* status_;
  TEdit* edit_;
  TCheckBox* check_;
  TRadioButton* radios_[3];
  TButton* okButton_;
  TButton* quitButton_;
  TLabel* clock_;
  TTimer* timer_;
  std::map<std::string, TForm*> openPages_;
  int ticks_ = 0;
};

}  // namespace kestrel::gallery
