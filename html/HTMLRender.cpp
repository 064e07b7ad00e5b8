#include "html/HTMLRender.h"

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/Exceptions.h"
#include "framework/Picture.h"
#include "html/HTMLParser.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TVnHTMLRender, TObject)

TVnHTMLRender::TVnHTMLRender() : FOwnData(std::make_unique<TVnHTMLData>()) {
  FOwnData->SetRender(this);
  FData = FOwnData.get();
}

TVnHTMLRender::~TVnHTMLRender() = default;

void TVnHTMLRender::PrepareText(const String& Text, int MaxWidth, bool AutoWrap) {
  TVnHTMLData* data = FData ? FData : FOwnData.get();
  PrepareToData(Text, MaxWidth, AutoWrap, data);
}

void TVnHTMLRender::PrepareToData(const String& Text, int MaxWidth, bool AutoWrap,
                                  TVnHTMLData*& CurData) {
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
