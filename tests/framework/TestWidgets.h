#pragma once
// Small published classes shared by the component, property and streaming tests.

#include <cstdint>
#include <vector>

#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/StringList.h"
#include "framework/TypeInfo.h"

namespace kestrel::test {

enum TShape { shCircle, shSquare, shTriangle };
const TEnumInfo& ShapeInfo();
enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TEnumSet<TSide>;
const TEnumInfo& SideInfo();

class TTestFont : public TPersistent {
  KESTREL_CLASS(TTestFont)
  TTestFont() = default;
  const String& Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }
  void Assign(const TPersistent* source) override;

 private:
  String name_ = u"Tahoma";
  int size_ = 8;
};

class TSnippet : public TCollectionItem {
  KESTREL_CLASS(TSnippet)
  explicit TSnippet(TCollection* c) : TCollectionItem(c) {}
  const String& Text() const { return text_; }
  void SetText(const String& v) {
    if (text_ == v) return;
    text_ = v;
    Changed(false);
  }
  void Assign(const TPersistent* source) override;

 private:
  String text_ = u"(empty)";
};

// Counts what its owner would hear.
class TSnippets : public TCollection {
 public:
  explicit TSnippets(TPersistent* owner) : TCollection(ItemClass<TSnippet>(), owner) {}
  std::vector<TCollectionItem*> updates;
  std::vector<String> textsAtUpdate;  // what Update could read of the items

 protected:
  void Update(TCollectionItem* item) override;
};

class TWidget : public TComponent {
  KESTREL_CLASS(TWidget)
  explicit TWidget(TComponent* owner);
  ~TWidget() override;

  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  const AnsiString& Url() const { return url_; }
  void SetUrl(const AnsiString& v) { url_ = v; }
  TShape Shape() const { return shape_; }
  void SetShape(TShape v) { shape_ = v; }
  TSides Sides() const { return sides_; }
  void SetSides(TSides v) { sides_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  char16_t Accel() const { return accel_; }
  void SetAccel(char16_t v) { accel_ = v; }
  int Color() const { return color_; }
  void SetColor(int v) { color_ = v; }
  bool IsColorStored() const { return color_ != -1; }
  int Counter() const { return counter_; }
  TTestFont* Font() const { return font_; }
  void SetFont(TTestFont* v) { font_->Assign(v); }
  TStringList* Lines() const { return lines_; }
  void SetLines(TStringList* v) { lines_->Assign(v); }
  TSnippets* Snippets() const { return snippets_; }
  TWidget* Buddy() const { return buddy_; }
  void SetBuddy(TWidget* v);
  const TNotifyEvent& OnClick() const { return onClick_; }

  std::vector<std::uint8_t> blob;
  int loadedCalls = 0;
  bool loadingSeenInLoaded = false;
  std::vector<TComponent*> parents;  // what SetParentComponent was given
  std::vector<std::pair<TComponent*, TOperation>> heard;

  void DefineProperties(TFiler& filer) override;
  void SetParentComponent(TComponent* parent) override { parents.push_back(parent); }

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

 private:
  int width_ = 100;
  bool visible_ = true;
  String caption_;
  AnsiString url_;
  TShape shape_ = shCircle;
  TSides sides_ = {sdLeft, sdTop};
  double ratio_ = 0;
  char16_t accel_ = u'&';
  int color_ = -1;
  int counter_ = 0;
  TTestFont* font_;
  TStringList* lines_;
  TSnippets* snippets_;
  TWidget* buddy_ = nullptr;
  TNotifyEvent onClick_;
};

// A widget kind of its own, to check class lookups and inherited property lists.
class TFancyWidget : public TWidget {
  KESTREL_CLASS(TFancyWidget)
  using TWidget::TWidget;
  int Glow() const { return glow_; }
  void SetGlow(int v) { glow_ = v; }

 private:
  int glow_ = 0;
};

void RegisterTestWidgets();

}  // namespace kestrel::test
