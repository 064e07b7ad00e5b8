#include "framework/Screen.h"

#include <algorithm>

#include "framework/Form.h"
#include "platform/core/ProcessWide.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TScreen, TComponent)

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

int TScreen::Width() const { return pf::GetSystemMetrics(pf::SM_CXSCREEN); }

int TScreen::Height() const { return pf::GetSystemMetrics(pf::SM_CYSCREEN); }

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) return nullptr;
  return forms_[static_cast<size_t>(index)];
}

TCustomForm* TScreen::ActiveForm() const {
  pf::HWND active = pf::GetActiveWindow();
  for (TCustomForm* f : forms_)
    if (f->HandleAllocated() && f->Handle() == active) return f;
  return nullptr;
}

void TScreen::SetCursor(int value) {
  if (value == cursor_) return;
  cursor_ = value;
  if (const int id = CursorResource(value))
    pf::SetCursor(pf::LoadCursorW(nullptr, pf::MAKEINTRESOURCEW(static_cast<pf::WORD>(id))));
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) { std::erase(forms_, form); }

namespace {
// Lives as long as the process.
constinit platform::ProcessWide<TScreen> gScreen(platform::ProcessWideOptions<TScreen>{
    .make = [] { return std::make_unique<TScreen>(nullptr); }});
}  // namespace

TScreen* Screen() { return gScreen.Get(); }

}  // namespace kestrel
