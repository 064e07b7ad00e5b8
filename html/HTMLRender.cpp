#include "html/HTMLRender.h"

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/Control.h"
#include "framework/Exceptions.h"
#include "framework/Picture.h"
#include "framework/SysUtils.h"
#include "framework/WinControl.h"
#include "html/internal/HTMLLineGeometry.h"
#include "html/internal/HTMLMessageHook.h"
#include "html/internal/HTMLPainter.h"
#include "html/internal/HTMLParser.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TVnHTMLRender, TObject)

TVnHTMLRender::TVnHTMLRender()
    : FHook(std::make_unique<THTMLMessageHook>()),
      FOwnData(std::make_unique<TVnHTMLData>()),
      FBitmap(std::make_unique<TBitmap>()) {
  FOwnData->SetRender(this);
  FData = FOwnData.get();
  FHook->OnMessage = [this](TMessage& m) { HookMessage(m); };
  // The hook watches the host: a freed host leaves no dangling Control behind.
  FHook->OnControlFreed = [this] { FControl = nullptr; };
}

TVnHTMLRender::~TVnHTMLRender() {
  // Unhooked before the items (and the controls they embed) go.
  FHook.reset();
}

void TVnHTMLRender::SetControl(TControl* Value) {
  FControl = Value;
  FHook->SetControl(Value);
}

void TVnHTMLRender::HookMessage(TMessage& m) {
  if (!FData) return;
  switch (m.Msg) {
    case platform::WM_KEYDOWN: {
      auto key = static_cast<platform::WORD>(m.WParam);
      KeyDownTransfer(key, KeyboardShiftState());
      break;
    }
    case platform::WM_MOUSEMOVE:
    case platform::WM_LBUTTONUP: {
      if (!FHookMouse) break;
      // Client coordinates, taken relative to the rectangle of the last paint.
      const TRect& r = FData->Rect();
      const int x = platform::GET_X_LPARAM(m.LParam) - r.left, y = platform::GET_Y_LPARAM(m.LParam) - r.top;
      if (m.Msg == platform::WM_MOUSEMOVE) MouseMoveTransfer(MouseShiftState(m.WParam), x, y, r);
      else ClickTransfer(x, y, r);
      break;
    }
    default: break;
  }
}

void TVnHTMLRender::PrepareText(const String& Text, int MaxWidth, bool AutoWrap) {
  TVnHTMLData* data = FData ? FData : FOwnData.get();
  PrepareToData(Text, MaxWidth, AutoWrap, data);
}

void TVnHTMLRender::PrepareToData(const String& Text, int MaxWidth, bool AutoWrap, TVnHTMLData*& CurData) {
  if (!CurData) return;
  // The previous current data comes back however the preparation ends.
  struct Restore {
    TVnHTMLRender& render;
    TVnHTMLData* previous;
    ~Restore() { render.FData = previous; }
  } restore{*this, FData};

  SetData(CurData);
  FMeasurer.LimitFonts(128);
  CurData->SetMaxWidth(MaxWidth);
  CurData->ClearArray();
  CurData->SetSelectedItem(nullptr);
  CurData->SetTextSize({});
  try {
    THTMLParser parser(*this, *CurData, Text, MaxWidth, AutoWrap);
    parser.Run();
  } catch (const Exception&) {
    // Bad markup never fails visibly: the text prepares to nothing.
    CurData->ClearArray();
    CurData->SetTextSize({});
  }
}

TVnHTMLData* TVnHTMLRender::CreateData() {
  auto data = std::make_unique<TVnHTMLData>();
  data->SetRender(this);
  FCreated.push_back(std::move(data));
  return FCreated.back().get();
}

void TVnHTMLRender::DestroyData(TVnHTMLData* Data) {
  if (!Data || Data == FOwnData.get()) return;
  if (FData == Data) FData = nullptr;
  std::erase_if(FCreated, [Data](const auto& owned) { return owned.get() == Data; });
}

void TVnHTMLRender::SetData(TVnHTMLData* NewData) {
  FData = NewData ? NewData : FOwnData.get();
  FData->SetRender(this);
}

String TVnHTMLRender::AsText() const {
  String text;
  if (!FData) return text;
  for (int i = 0; i < FData->ItemCount(); ++i) {
    const TVnHTMLItem* item = FData->Item(i);
    switch (item->ItemType()) {
      case hitChar: text += item->Text(); break;
      case hitBreak: text += u"\r\n"; break;
      case hitPara:
        if (i != 0) text += u"\r\n\r\n";
        break;
      case hitLI: text += u"- "; break;
      default: break;
    }
  }
  return text;
}

String TVnHTMLRender::AsAccessibleText(std::vector<TAccessibleLink>& links) const {
  String text;
  links.clear();
  if (!FData) return text;
  const TVnHTMLItem* previous = nullptr;
  for (int i = 0; i < FData->ItemCount(); ++i) {
    const TVnHTMLItem* item = FData->Item(i);
    switch (item->ItemType()) {
      case hitChar: {
        const int start = static_cast<int>(text.size());
        text += item->Text();
        if (!item->IsLink() || item->Text().empty()) break;
        const bool continues = previous && previous->IsLink() && previous->LinkRef() == item->LinkRef() &&
                               !links.empty() && links.back().End == start;
        if (continues) links.back().End = static_cast<int>(text.size());
        else links.push_back({item->LinkRef(), start, static_cast<int>(text.size())});
        break;
      }
      case hitBreak: text += u"\n"; break;
      case hitPara:
        if (i != 0) text += u"\n\n";
        break;
      case hitLI: text += u"- "; break;
      default: break;
    }
    previous = item;
  }
  return text;
}

// ---- painting --------------------------------------------------------------------------

void TVnHTMLRender::DrawText(TCanvas* Canvas, const TPoint& SrcPoint, const TRect& R, TColor AdjustFromColor) {
  DrawTextEx(Canvas, SrcPoint, R, false, 0, 0, 0, 0, AdjustFromColor);
}

namespace {

// Items that paint only through the DC's text calls, with state the painter sets itself.
bool PaintsTextOnly(const TVnHTMLData& data) {
  for (int i = 0; i < data.ItemCount(); ++i) {
    switch (data.Item(i)->ItemType()) {
      case hitChar:
      case hitVar:
      case hitSoftBreak:
      case hitBreak:
      case hitPara:
      case hitUL:
      case hitOL:
      case hitIndent: break;
      default: return false;  // markers, rules, images and inputs use the canvas's pen and modes
    }
  }
  return true;
}

// Whether the pixels painted onto `dc` reach the screen only once the paint is over: a bitmap, or
// a window, whose backing store is presented when its DC is released or its paint ends — so the
// buffer could not hide a half-done paint from anyone.
bool ShowsNothingHalfPainted(platform::HDC dc) {
  const platform::DWORD type = platform::GetObjectType(dc);
  return type == platform::OBJ_MEMDC || type == platform::OBJ_DC;
}

// Whether painting straight onto `dc`, clipped to the rectangle, gives exactly the pixels the
// double buffer would: nothing shows the paint before it is done, logical units are pixels, and
// nothing but text is painted.
bool BufferAddsNothing(platform::HDC dc, const TVnHTMLData& data) {
  return ShowsNothingHalfPainted(dc) && platform::GetMapMode(dc) == platform::MM_TEXT &&
         platform::GetTextCharacterExtra(dc) == 0 && PaintsTextOnly(data);
}

// Whether `r` (logical) covers the whole of the DC's bitmap, so that clipping to it changes nothing.
bool CoversTarget(platform::HDC dc, const TRect& r) {
  platform::BITMAP bm{};
  platform::HGDIOBJ bitmap = platform::GetCurrentObject(dc, platform::OBJ_BITMAP);
  if (!bitmap || !platform::GetObjectW(bitmap, sizeof bm, &bm)) return false;
  platform::POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  platform::LPtoDP(dc, corners, 2);
  return corners[0].x <= 0 && corners[0].y <= 0 && corners[1].x >= bm.bmWidth && corners[1].y >= bm.bmHeight;
}

// Whether one logical unit of `dc` is one device pixel (no scaling, no mirroring).
bool MapsUnitToPixel(platform::HDC dc) {
  platform::POINT corners[2] = {{0, 0}, {1, 1}};
  platform::LPtoDP(dc, corners, 2);
  return corners[1].x - corners[0].x == 1 && corners[1].y - corners[0].y == 1;
}

// The part of `r` (logical) that the target's clip lets through: pixels outside it cannot change,
// so they need not pass through the buffer. All of `r` when the mapping scales, where a part of
// the copy could round differently from the whole.
TRect ChangeablePart(platform::HDC dc, const TRect& r) {
  platform::RECT clip{};
  if (!MapsUnitToPixel(dc) || platform::GetClipBox(dc, &clip) == platform::ERROR) return r;
  TRect part{};
  platform::IntersectRect(&part, &r, &clip);
  return part;
}

}  // namespace

void TVnHTMLRender::DrawTextEx(TCanvas* ACanvas, const TPoint& ASrcPoint, const TRect& AR, bool UseOverColors,
                               TColor AColor, TColor ABkColor, TColor ASelColor, TColor ASelBkColor,
                               TColor AAdjustFromColor) {
  if (!FData || !ACanvas || !ACanvas->Handle()) return;
  const THTMLPaintColors colors{UseOverColors, AColor, ABkColor, ASelColor, ASelBkColor, AAdjustFromColor};
  if (!FDoubleBuffered) {
    THTMLPainter(*this, *FData, *ACanvas, Point(AR.left, AR.top), ASrcPoint, AR, Point(0, 0), colors).Paint();
    return;
  }
  // The buffer covers AR exactly, so nothing spills past its right and bottom edges.
  const int width = AR.right - AR.left, height = AR.bottom - AR.top;
  if (width <= 0 || height <= 0) {
    FData->SetRect(AR);
    return;
  }
  const platform::HDC target = ACanvas->Handle();
  if (BufferAddsNothing(target, *FData)) {
    // Copying the pixels into the buffer and back would only cost time: the clip keeps the paint
    // inside AR as the buffer's edges would.
    const bool clip = !CoversTarget(target, AR);
    const int saved = clip ? platform::SaveDC(target) : 0;
    if (clip) platform::IntersectClipRect(target, AR.left, AR.top, AR.right, AR.bottom);
    THTMLPainter(*this, *FData, *ACanvas, Point(AR.left, AR.top), ASrcPoint, AR, Point(0, 0), colors).Paint();
    if (clip) platform::RestoreDC(target, saved);
    return;
  }
  if (FBitmap->Width() != width || FBitmap->Height() != height) FBitmap->Resize(width, height);
  TCanvas* buffer = FBitmap->Canvas();
  // Only what the target shows goes through the buffer; the paint is clipped to it there too
  // (the painter still runs over everything: it places embedded controls).
  const TRect part = ChangeablePart(target, AR);
  const int x = part.left - AR.left, y = part.top - AR.top, w = part.right - part.left, h = part.bottom - part.top;
  const bool narrowed = x != 0 || y != 0 || w != width || h != height;
  if (w > 0 && h > 0) platform::BitBlt(buffer->Handle(), x, y, w, h, target, part.left, part.top, platform::SRCCOPY);
  if (narrowed) platform::IntersectClipRect(buffer->Handle(), x, y, x + std::max(w, 0), y + std::max(h, 0));
  buffer->Brush()->SetColor(ACanvas->Brush()->Color());
  buffer->Brush()->SetStyle(ACanvas->Brush()->Style());
  THTMLPainter(*this, *FData, *buffer, Point(0, 0), ASrcPoint, AR, Point(AR.left, AR.top), colors).Paint();
  if (narrowed) platform::SelectClipRgn(buffer->Handle(), nullptr);  // the buffer has no clip of its own
  if (w > 0 && h > 0) platform::BitBlt(target, part.left, part.top, w, h, buffer->Handle(), x, y, platform::SRCCOPY);
}

// ---- hit testing -------------------------------------------------------------------------

TVnHTMLItem* TVnHTMLRender::ItemAt(const TPoint& Point, const TPoint& SrcPoint, const TRect& R) const {
  if (!FData) return nullptr;
  const TRect& r = R.right == R.left ? FData->Rect() : R;
  return THTMLLineGeometry::ItemAt(*FData, Point.x + SrcPoint.x, Point.y + SrcPoint.y, r.right - r.left + 1);
}

bool TVnHTMLRender::IsCursorOverLink(const TPoint& Point, const TPoint& SrcPoint, const TRect& R, String& href) const {
  TVnHTMLItem* item = ItemAt(Point, SrcPoint, R);
  const bool link = item && item->IsLink();
  href = link ? item->LinkRef() : String();
  return link;
}

void TVnHTMLRender::SelectLinkAt(const TPoint& Point, const TPoint& SrcPoint, const TRect& R) {
  if (FData) FData->SetSelectedItem(ItemAt(Point, SrcPoint, R));
}

// ---- keyboard focus ----------------------------------------------------------------------

void TVnHTMLRender::SelectItem(TVnHTMLItem* item) {
  FData->SetSelectedItem(item);
  auto* control = item && item->ItemType() == hitControl ? static_cast<TVnHTMLControlItem*>(item) : nullptr;
  if (!control) return;
  if (auto* windowed = dynamic_cast<TWinControl*>(control->FControl.get()); windowed && windowed->CanFocus())
    windowed->SetFocus();
}

void TVnHTMLRender::SelectLinkStep(int direction) {
  if (!FData || FData->ItemCount() == 0) return;
  const int count = FData->ItemCount();
  int index = FData->SelectedItem() ? FData->IndexOf(FData->SelectedItem()) : (direction > 0 ? -1 : count);
  // Link starts only (the focus order lists them); later runs of the same link are skipped.
  for (index += direction; index >= 0 && index < count; index += direction) {
    TVnHTMLItem* item = FData->Item(index);
    if (!item->IsLink() || !item->FInControls) continue;
    SelectItem(item);
    return;
  }
}

void TVnHTMLRender::SelectNextLink() { SelectLinkStep(1); }
void TVnHTMLRender::SelectPrevLink() { SelectLinkStep(-1); }

void TVnHTMLRender::SelectSuitableStep(int direction) {
  if (!FData || FData->ControlsArray().empty()) return;
  const auto& list = FData->ControlsArray();
  const int count = static_cast<int>(list.size());
  auto found = std::find(list.begin(), list.end(), FData->SelectedItem());
  int index = found == list.end() ? (direction > 0 ? -1 : count) : static_cast<int>(found - list.begin());
  index = ((index + direction) % count + count) % count;
  SelectItem(list[static_cast<size_t>(index)]);
}

void TVnHTMLRender::SelectNextSuitableItem() { SelectSuitableStep(1); }
void TVnHTMLRender::SelectPrevSuitableItem() { SelectSuitableStep(-1); }

TVnHTMLInputItem* TVnHTMLRender::FindInputItemByName(const String& AName, const TVnHTMLItem* FindFrom) const {
  if (!FData) return nullptr;
  const auto& list = FData->ControlsArray();
  auto it = list.begin();
  if (FindFrom) {
    it = std::find(list.begin(), list.end(), FindFrom);
    if (it != list.end()) ++it;
  }
  for (; it != list.end(); ++it) {
    if ((*it)->ItemType() != hitInput) continue;
    auto* input = static_cast<TVnHTMLInputItem*>(*it);
    if (SameText(input->Name(), AName)) return input;
  }
  return nullptr;
}

// ---- interaction -------------------------------------------------------------------------

void TVnHTMLRender::MouseMoveTransfer(TShiftState, int X, int Y, const TRect& R) {
  if (!FData) return;
  TVnHTMLItem* item = ItemAt(Point(X, Y), Point(0, 0), R);
  auto* input = item && item->ItemType() == hitInput ? static_cast<TVnHTMLInputItem*>(item) : nullptr;
  if (input == FData->ActiveItem()) return;
  FData->SetActiveItem(input);
  Change();
}

void TVnHTMLRender::ClickTransfer(int X, int Y, const TRect& R) {
  if (!FData) return;
  FData->SetSelectedItem(nullptr);
  TVnHTMLItem* item = ItemAt(Point(X, Y), Point(0, 0), R);
  if (!item) return;
  if (item->ItemType() == hitInput) {
    FData->SetSelectedItem(item);
    const TLifeWatch life = Life();
    static_cast<TVnHTMLInputItem*>(item)->Click();
    if (!life.Alive()) return;  // a handler freed the renderer
  } else if (item->IsLink() && FLinkSelect) {
    FData->SetSelectedItem(item);
  }
  Change();
}

void TVnHTMLRender::KeyDownTransfer(platform::WORD& Key, TShiftState Shift) {
  if (!FData) return;
  if (Key == platform::VK_TAB) {
    if (Shift.Empty()) SelectNextSuitableItem();
    else if (Shift == TShiftState{ssShift}) SelectPrevSuitableItem();
    Change();
    return;
  }
  TVnHTMLItem* selected = FData->SelectedItem();
  if (selected && selected->ItemType() == hitInput)
    static_cast<TVnHTMLInputItem*>(selected)->KeyDownTransfer(Key, Shift);
}

void TVnHTMLRender::Change() {
  if (OnChange) OnChange(this);
}

bool TVnHTMLRender::RequestImage(const String& Src, TPicture& Picture) {
  if (OnImageNeeded) {
    TBitmap* image = nullptr;
    OnImageNeeded(this, Src, image);
    if (image) {
      Picture.Assign(image);
      return true;
    }
  }
  if (OnImageNeededEx) {
    try {
      OnImageNeededEx(this, Src, &Picture);
    } catch (const std::exception&) {
      // A failing handler only means no image.
    }
  }
  return Picture.Graphic() != nullptr;
}

}  // namespace kestrel
