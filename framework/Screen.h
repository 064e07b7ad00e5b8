#pragma once
// TScreen: the display (size, 96 dots per inch) and the list of forms.

#include <vector>

#include "framework/Canvas.h"
#include "framework/Component.h"

namespace kestrel {

class TCustomForm;

class TScreen : public TComponent {
  KESTREL_CLASS(TScreen)
  explicit TScreen(TComponent* owner);
  ~TScreen() override = default;

  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return 96; }
  TRect WorkAreaRect() const { return Rect(0, 0, Width(), Height()); }
  int MonitorCount() const { return 1; }

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const;
  // The form owning the active window, or null.
  TCustomForm* ActiveForm() const;
  int Cursor() const { return cursor_; }
  // crDefault gives each control its own cursor again; anything else overrides them all.
  void SetCursor(int value);

  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

 private:
  std::vector<TCustomForm*> forms_;
  int cursor_ = 0;
};

// The process's screen object (made on first use).
TScreen* Screen();

}  // namespace kestrel
