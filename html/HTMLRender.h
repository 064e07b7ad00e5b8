#pragma once
// The markup renderer: prepares captions into data objects (parse, wrap, measure). Painting and
// hit-testing build on this class.

#include <functional>
#include <memory>

#include "html/HTMLData.h"
#include "html/HTMLMeasurer.h"

namespace kestrel {

class TComponent;
class TBitmap;
class TPicture;

using TVnHTMLVariableNeededEvent =
    std::function<void(TObject* Sender, const String& aVarName, String& aVarValue)>;
// The handler may point `Image` (null at first) at a bitmap it keeps; the renderer copies it.
using TVnHTMLImageNeededEvent = std::function<void(TObject* Sender, const String& Src, TBitmap*& Image)>;
// The handler fills the picture.
using TVnHTMLImageNeededExEvent =
    std::function<void(TObject* Sender, const String& SourceName, TPicture* Image)>;

class TVnHTMLRender : public TObject {
  KESTREL_CLASS(TVnHTMLRender)
  TVnHTMLRender();
  ~TVnHTMLRender() override;
  TVnHTMLRender(const TVnHTMLRender&) = delete;
  TVnHTMLRender& operator=(const TVnHTMLRender&) = delete;

  // Prepares `Text` into the current data. MaxWidth is the wrap width, used with AutoWrap only.
  void PrepareText(const String& Text, int MaxWidth, bool AutoWrap);
  void PrepareToData(const String& Text, int MaxWidth, bool AutoWrap, TVnHTMLData*& CurData);

  TVnHTMLData* CreateData();
  // Frees a data object made by CreateData; when it was current, Data() becomes null.
  void DestroyData(TVnHTMLData* Data);
  // Makes `NewData` current (null selects the renderer's own data).
  void SetData(TVnHTMLData* NewData);
  TVnHTMLData* Data() const { return FData; }

  // The plain text of the current data.
  String AsText() const;

  // Measuring device (see THTMLMeasurer); null is ignored.
  void SetDC(platform::HDC DC) { FMeasurer.SetDC(DC); }
  THTMLMeasurer& Measurer() { return FMeasurer; }

  // The host control embedded controls are created for (none by default).
  TComponent* Control() const { return FControl; }
  void SetControl(TComponent* Value) { FControl = Value; }

  // Asks the image events for `Src`; false when neither produced a graphic.
  bool RequestImage(const String& Src, TPicture& Picture);

  TVnHTMLVariableNeededEvent OnVariableNeeded;
  TVnHTMLImageNeededEvent OnImageNeeded;
  TVnHTMLImageNeededExEvent OnImageNeededEx;

  // The list counter of <ul>/<ol>/<li> (not stacked across nested lists).
  int FCurListItem = 0;

 private:
  std::unique_ptr<TVnHTMLData> FOwnData;
  std::vector<std::unique_ptr<TVnHTMLData>> FCreated;
  TVnHTMLData* FData = nullptr;
  TComponent* FControl = nullptr;
  THTMLMeasurer FMeasurer;
};

}  // namespace kestrel
