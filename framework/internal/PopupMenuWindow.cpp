#include "framework/internal/PopupMenuWindow.h"

#include <algorithm>

#include "framework/Accelerator.h"

#include "framework/MenuItem.h"
#include "framework/PopupMenu.h"
#include "framework/SysUtils.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/theme/UxTheme.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

// The same metrics in both looks, so that a menu's size never depends on the theme.
constexpr int kBorder = 2;
constexpr int kTextLeft = 12;
constexpr int kTextRight = 24;
constexpr int kItemPadding = 8;  // above and below the caption, together
constexpr int kLineHeight = 7;   // a separator entry
constexpr int kMinWidth = 96;

// The themed look's tokens.
constexpr pf::COLORREF kSurface = pf::RGB(0xFF, 0xFF, 0xFF);
constexpr pf::COLORREF kStroke = pf::RGB(0xC8, 0xC8, 0xC8);
constexpr pf::COLORREF kHot = pf::RGB(0xF0, 0xF0, 0xF0);
constexpr pf::COLORREF kText = pf::RGB(0x1A, 0x1A, 0x1A);
constexpr pf::COLORREF kTextDisabled = pf::RGB(0xA0, 0xA0, 0xA0);

constexpr unsigned kCaptionFormat = pf::DT_SINGLELINE | pf::DT_VCENTER | pf::DT_LEFT;

}  // namespace

KESTREL_IMPLEMENT_CLASS(TPopupMenuWindow, TCustomControl)

TPopupMenuWindow::TPopupMenuWindow(TPopupMenu& menu) : TCustomControl(nullptr), menu_(menu) { SetVisible(false); }

TPopupMenuWindow::~TPopupMenuWindow() {
  if (HandleAllocated() && pf::GetCapture() == Handle()) pf::ReleaseCapture();
}

void TPopupMenuWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = pf::WS_POPUP | pf::WS_CLIPCHILDREN;
  // Never active: the window the menu was opened over keeps activation and focus.
  p.ExStyle = pf::WS_EX_TOPMOST | pf::WS_EX_TOOLWINDOW | pf::WS_EX_NOACTIVATE;
  p.WndParent = nullptr;
}

void TPopupMenuWindow::Layout() {
  entries_.clear();
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  int width = kMinWidth, top = kBorder;
  const TMenuItem& items = *menu_.Items();
  for (int i = 0; i < items.Count(); ++i) {
    TMenuItem* item = items.Items(i);
    if (!item->Visible()) continue;
    int height = kLineHeight;
    if (!item->IsLine()) {
      // Through the canvas, so that its font is the one selected into the DC.
      TRect r = Rect(0, 0, 0, 0);
      canvas.DrawText(item->Caption(), r, kCaptionFormat | pf::DT_CALCRECT);
      height = r.bottom - r.top + kItemPadding;
      width = std::max<int>(width, r.right - r.left + kTextLeft + kTextRight + 2 * kBorder);
    }
    entries_.push_back({item, top, height});
    top += height;
  }
  SetBounds(Left(), Top(), width, top + kBorder);
}

void TPopupMenuWindow::ShowAt(int x, int y) {
  HandleNeeded();
  Layout();
  if (entries_.empty()) return;
  // Kept on the screen: moved left or up as far as it overhangs.
  const int screenWidth = pf::GetSystemMetrics(pf::SM_CXSCREEN), screenHeight = pf::GetSystemMetrics(pf::SM_CYSCREEN);
  x = std::max(0, std::min(x, screenWidth - Width()));
  y = std::max(0, std::min(y, screenHeight - Height()));
  hot_ = -1;
  shown_ = true;
  SetBounds(x, y, Width(), Height());
  pf::SetWindowPos(Handle(), pf::HWND_TOPMOST, x, y, Width(), Height(), pf::SWP_SHOWWINDOW | pf::SWP_NOACTIVATE);
  SetVisible(true);
  pf::SetCapture(Handle());
  Invalidate();
}

void TPopupMenuWindow::Close(TMenuItem* chosen) {
  if (!shown_ || closing_) return;
  closing_ = true;
  shown_ = false;
  if (pf::GetCapture() == Handle()) pf::ReleaseCapture();
  SetVisible(false);
  closing_ = false;
  menu_.Closed(chosen);
}

TRect TPopupMenuWindow::ItemRect(const TMenuItem* item) const {
  for (const Entry& entry : entries_)
    if (entry.item == item)
      return Rect(Left() + kBorder, Top() + entry.top, Left() + Width() - kBorder, Top() + entry.top + entry.height);
  return TRect{};
}

int TPopupMenuWindow::EntryAt(int x, int y) const {
  if (x < kBorder || x >= Width() - kBorder) return -1;
  for (size_t i = 0; i < entries_.size(); ++i)
    if (y >= entries_[i].top && y < entries_[i].top + entries_[i].height) return static_cast<int>(i);
  return -1;
}

void TPopupMenuWindow::SetHot(int index) {
  if (index >= 0 && !entries_[static_cast<size_t>(index)].item->Selectable()) index = -1;
  if (index == hot_) return;
  hot_ = index;
  Invalidate();
}

void TPopupMenuWindow::MoveHot(int step) {
  const int count = static_cast<int>(entries_.size());
  int index = hot_ < 0 ? (step > 0 ? -1 : count) : hot_;
  // Round the menu once at most, skipping lines and disabled items.
  for (int tries = 0; tries < count; ++tries) {
    index = ((index + step) % count + count) % count;
    if (entries_[static_cast<size_t>(index)].item->Selectable()) {
      SetHot(index);
      return;
    }
  }
}

void TPopupMenuWindow::Choose(int index) {
  if (index < 0 || !entries_[static_cast<size_t>(index)].item->Selectable()) return;
  Close(entries_[static_cast<size_t>(index)].item);
}

bool TPopupMenuWindow::HandleKey(pf::WORD key) {
  switch (key) {
    case pf::VK_DOWN: MoveHot(1); return true;
    case pf::VK_UP: MoveHot(-1); return true;
    case pf::VK_HOME:
      hot_ = -1;
      MoveHot(1);
      return true;
    case pf::VK_END:
      hot_ = -1;
      MoveHot(-1);
      return true;
    case pf::VK_RETURN:
    case pf::VK_SPACE: Choose(hot_); return true;
    case pf::VK_ESCAPE: Close(nullptr); return true;
    default: return false;
  }
}

int TPopupMenuWindow::EntryWithAccelerator(char16_t key) const {
  const auto upper = [](char16_t c) { return UpperCase(std::u16string_view(&c, 1)); };
  for (size_t i = 0; i < entries_.size(); ++i) {
    const char16_t accelerator = AcceleratorOf(entries_[i].item->Caption());
    if (accelerator && upper(accelerator) == upper(key)) return static_cast<int>(i);
  }
  return -1;
}

void TPopupMenuWindow::WndProc(TMessage& m) {
  const int x = pf::GET_X_LPARAM(m.LParam), y = pf::GET_Y_LPARAM(m.LParam);
  const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  switch (m.Msg) {
    case pf::WM_MOUSEMOVE:
      if (inside) SetHot(EntryAt(x, y));
      return;
    case pf::WM_LBUTTONDOWN:
    case pf::WM_RBUTTONDOWN:
      // A press outside the menu dismisses it; inside, the release decides.
      if (!inside) Close(nullptr);
      return;
    case pf::WM_LBUTTONUP:
    case pf::WM_RBUTTONUP:
      if (inside) Choose(EntryAt(x, y));
      return;
    case pf::WM_KEYDOWN:
      if (HandleKey(static_cast<pf::WORD>(m.WParam))) return;
      break;
    case pf::WM_CHAR: Choose(EntryWithAccelerator(static_cast<char16_t>(m.WParam))); return;
    case pf::WM_SYSKEYDOWN:
    case pf::WM_CLOSE:
      // Alt (or Alt+F4) leaves the menu, as it does a menu bar; the window itself stays.
      Close(nullptr);
      return;
    case pf::WM_SYSKEYUP:
    case pf::WM_SYSCHAR: return;
    case pf::WM_CAPTURECHANGED:
      if (reinterpret_cast<pf::HWND>(m.LParam) != Handle()) Close(nullptr);
      break;
    case pf::WM_ACTIVATE:
      if (pf::LOWORD(m.WParam) == pf::WA_INACTIVE) Close(nullptr);
      break;
    default: break;
  }
  TCustomControl::WndProc(m);
}

void TPopupMenuWindow::Paint() {
  TCanvas& canvas = *Canvas();
  pf::HDC dc = canvas.Handle();
  const bool themed = pf::IsAppThemed();
  pf::RECT frame{0, 0, Width(), Height()};
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(themed ? static_cast<TColor>(kSurface) : static_cast<TColor>(clMenu));
  canvas.FillRect(Rect(0, 0, Width(), Height()));
  if (themed) {
    canvas.Brush()->SetColor(static_cast<TColor>(kStroke));
    canvas.FrameRect(Rect(0, 0, Width(), Height()));
  } else {
    pf::DrawEdge(dc, &frame, pf::EDGE_RAISED, pf::BF_RECT);
  }
  canvas.SetFont(Font());
  for (size_t i = 0; i < entries_.size(); ++i) PaintEntry(entries_[i], static_cast<int>(i) == hot_, themed);
}

void TPopupMenuWindow::PaintEntry(const Entry& entry, bool hot, bool themed) {
  TCanvas& canvas = *Canvas();
  pf::HDC dc = canvas.Handle();
  const int right = Width() - kBorder;
  if (entry.item->IsLine()) {
    const int middle = entry.top + entry.height / 2;
    if (themed) {
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Brush()->SetColor(static_cast<TColor>(kStroke));
      canvas.FillRect(Rect(kBorder + 6, middle, right - 6, middle + 1));
    } else {
      pf::RECT line{kBorder + 1, middle - 1, right - 1, middle + 1};
      pf::DrawEdge(dc, &line, pf::EDGE_ETCHED, pf::BF_TOP);
    }
    return;
  }
  const TRect box = Rect(kBorder, entry.top, right, entry.top + entry.height);
  if (hot) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(themed ? static_cast<TColor>(kHot) : static_cast<TColor>(clHighlight));
    canvas.FillRect(themed ? Rect(box.left + 2, box.top, box.right - 2, box.bottom) : box);
  }
  pf::COLORREF text;
  if (!entry.item->Enabled()) text = themed ? kTextDisabled : pf::GetSysColor(pf::COLOR_GRAYTEXT);
  else if (themed) text = kText;
  else text = pf::GetSysColor(hot ? pf::COLOR_HIGHLIGHTTEXT : pf::COLOR_MENUTEXT);
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetColor(static_cast<TColor>(text));
  TRect r = Rect(box.left + kTextLeft, box.top, box.right - kTextRight, box.bottom);
  canvas.DrawText(entry.item->Caption(), r, kCaptionFormat);
}

}  // namespace kestrel
