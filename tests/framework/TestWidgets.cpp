#include "tests/framework/TestWidgets.h"

#include "framework/ClassRegistry.h"
#include "framework/MemoryStream.h"
#include "framework/Reader.h"
#include "framework/SysUtils.h"

namespace kestrel::test {

const TEnumInfo& ShapeInfo() {
  static const TEnumInfo info(u"TShape", {u"shCircle", u"shSquare", u"shTriangle"});
  return info;
}

const TEnumInfo& SideInfo() {
  static const TEnumInfo info(u"TSide", {u"sdLeft", u"sdTop", u"sdRight", u"sdBottom"});
  return info;
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TTestFont, TPersistent)

void TTestFont::PublishProperties(TClassBuilder<TTestFont>& b) {
  b.Property(u"Name", &TTestFont::Name, &TTestFont::SetName).Default(u"Tahoma");
  b.Property(u"Size", &TTestFont::Size, &TTestFont::SetSize).Default(8);
}

void TTestFont::Assign(const TPersistent* source) {
  if (auto* f = dynamic_cast<const TTestFont*>(source)) {
    name_ = f->name_;
    size_ = f->size_;
    return;
  }
  TPersistent::Assign(source);
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TSnippet, TCollectionItem)

void TSnippet::PublishProperties(TClassBuilder<TSnippet>& b) {
  b.Property(u"Text", &TSnippet::Text, &TSnippet::SetText).Default(u"(empty)");
}

void TSnippet::Assign(const TPersistent* source) {
  if (auto* s = dynamic_cast<const TSnippet*>(source)) {
    SetText(s->Text());
    return;
  }
  TCollectionItem::Assign(source);
}

void TSnippets::Update(TCollectionItem* item) {
  updates.push_back(item);
  String texts;
  for (int i = 0; i < Count(); ++i) texts += static_cast<TSnippet*>(Items(i))->Text() + u";";
  textsAtUpdate.push_back(texts);
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TWidget, TComponent)

void TWidget::PublishProperties(TClassBuilder<TWidget>& b) {
  b.Property(u"Width", &TWidget::Width, &TWidget::SetWidth).Default(100);
  b.Property(u"Visible", &TWidget::Visible, &TWidget::SetVisible).Default(true);
  b.Property(u"Caption", &TWidget::Caption, &TWidget::SetCaption).Kind(tkWString);
  b.Property(u"Url", &TWidget::Url, &TWidget::SetUrl);
  b.Enum(u"Shape", &TWidget::Shape, &TWidget::SetShape, ShapeInfo()).Default(shCircle);
  b.Set(u"Sides", &TWidget::Sides, &TWidget::SetSides, SideInfo(), u"TSides").Default(TSides{sdLeft, sdTop});
  b.Property(u"Ratio", &TWidget::Ratio, &TWidget::SetRatio);
  b.Property(u"Accel", &TWidget::Accel, &TWidget::SetAccel).Default(u'&');
  b.Property(u"Color", &TWidget::Color, &TWidget::SetColor).TypeName(u"TColor").Stored(&TWidget::IsColorStored);
  b.Property(u"Counter", &TWidget::Counter, nullptr);
  b.Object(u"Font", &TWidget::Font, &TWidget::SetFont);
  b.Object(u"Lines", &TWidget::Lines, &TWidget::SetLines);
  b.Object(u"Snippets", &TWidget::Snippets, nullptr);
  b.Object(u"Buddy", &TWidget::Buddy, &TWidget::SetBuddy);
  b.Event(u"OnClick", &TWidget::OnClick, u"TNotifyEvent");
}

TWidget::TWidget(TComponent* owner)
    : TComponent(owner), font_(new TTestFont), lines_(new TStringList), snippets_(new TSnippets(this)) {
  snippets_->SetPropName(u"Snippets");
}

TWidget::~TWidget() {
  delete font_;
  delete lines_;
  delete snippets_;
}

void TWidget::SetBuddy(TWidget* v) {
  if (buddy_ == v) return;
  if (buddy_) buddy_->RemoveFreeNotification(this);
  buddy_ = v;
  if (buddy_) buddy_->FreeNotification(this);
}

void TWidget::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  heard.emplace_back(component, operation);
  if (operation == opRemove && component == buddy_) buddy_ = nullptr;
}

void TWidget::Loaded() {
  TComponent::Loaded();
  ++loadedCalls;
  loadingSeenInLoaded = ComponentState().Contains(csReading);
}

void TWidget::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  // Legacy name of Width, read only.
  filer.DefineProperty(
      u"OldWidth", [this](TReader& r) { width_ = static_cast<int>(r.ReadInteger()); }, nullptr, false);
  filer.DefineBinaryProperty(
      u"Blob",
      [this](TStream& s) {
        blob.resize(static_cast<std::size_t>(s.Size()));
        s.ReadBuffer(blob.data(), blob.size());
      },
      [this](TStream& s) { s.WriteBuffer(blob.data(), blob.size()); }, !blob.empty());
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TFancyWidget, TWidget)

void TFancyWidget::PublishProperties(TClassBuilder<TFancyWidget>& b) {
  b.Property(u"Glow", &TFancyWidget::Glow, &TFancyWidget::SetGlow).Default(0);
  // Redeclared with another default.
  b.Property(u"Width", &TFancyWidget::Width, &TFancyWidget::SetWidth).Default(50);
}

void RegisterTestWidgets() {
  RegisterClasses({&TWidget::StaticClass(), &TFancyWidget::StaticClass()});
  RegisterIntegerConsts(
      u"TColor",
      [](std::u16string_view ident, std::int64_t& v) {
        if (!SameText(ident, u"clRed")) return false;
        v = 0xFF;
        return true;
      },
      [](std::int64_t v, String& ident) {
        if (v != 0xFF) return false;
        ident = u"clRed";
        return true;
      });
}

}  // namespace kestrel::test
