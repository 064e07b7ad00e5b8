#include "framework/MessageBox.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/Label.h"
#include "framework/Screen.h"

namespace kestrel {

std::vector<int> MessageBoxButtons(unsigned flags) {
  switch (flags & 0xF) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

namespace {

const char16_t* ButtonCaption(int id) {
  switch (id) {
    case IDOK: return u"OK";
    case IDCANCEL: return u"Cancel";
    case IDABORT: return u"&Abort";
    case IDRETRY: return u"&Retry";
    case IDIGNORE: return u"&Ignore";
    case IDYES: return u"&Yes";
    case IDNO: return u"&No";
    default: return u"";
  }
}

}  // namespace

int ShowMessageBox(const String& text, const String& caption, unsigned flags) {
  const std::vector<int> ids = MessageBoxButtons(flags);
  TForm* box = TCustomForm::Create<TForm>(nullptr);
  box->SetBorderStyle(bsDialog);
  box->SetPosition(poScreenCenter);
  box->SetCaption(caption);
  auto* label = new TLabel(box);
  label->SetParent(box);
  label->SetCaption(text);
  label->SetLeft(16);
  label->SetTop(16);
  constexpr int kButtonWidth = 75, kGap = 8;
  const int buttonsWidth = static_cast<int>(ids.size()) * (kButtonWidth + kGap) - kGap;
  const int clientWidth = std::max(label->Width(), buttonsWidth) + 32;
  box->SetClientWidth(clientWidth);
  box->SetClientHeight(label->Top() + label->Height() + 16 + 25 + 12);
  const int defaultIndex = std::min<int>(static_cast<int>((flags >> 8) & 0xF), static_cast<int>(ids.size()) - 1);
  const bool hasCancel = std::find(ids.begin(), ids.end(), IDCANCEL) != ids.end();
  int x = (clientWidth - buttonsWidth) / 2;
  for (size_t i = 0; i < ids.size(); ++i) {
    auto* button = new TButton(box);
    button->SetParent(box);
    button->SetCaption(ButtonCaption(ids[i]));
    button->SetBounds(x, label->Top() + label->Height() + 16, kButtonWidth, 25);
    button->SetModalResult(ids[i]);
    button->SetDefault(static_cast<int>(i) == defaultIndex);
    button->SetCancel(ids[i] == IDCANCEL || (!hasCancel && ids.size() == 1));
    if (static_cast<int>(i) == defaultIndex) box->SetActiveControl(button);
    x += kButtonWidth + kGap;
  }
  int result = box->ShowModal();
  // Closed without a button: Cancel where there is one, else the only/last button.
  if (std::find(ids.begin(), ids.end(), result) == ids.end()) result = hasCancel ? IDCANCEL : ids.back();
  box->BeforeDestruction();
  delete box;
  return result;
}

}  // namespace kestrel
