#include "edit/KsDisplayReadOnlyOptions.h"

#include "framework/PublishColour.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsDisplayReadOnlyOptions, TPersistent)

void TKsDisplayReadOnlyOptions::PublishProperties(TClassBuilder<TKsDisplayReadOnlyOptions>& b) {
  using O = TKsDisplayReadOnlyOptions;
  b.Property(u"Enabled", &O::Enabled, &O::SetEnabled).Default(false);
  PublishColour(b, u"BkColor", &O::BkColor, &O::SetBkColor, clWindow);
  PublishColour(b, u"TextColor", &O::TextColor, &O::SetTextColor, clWindowText);
}

void TKsDisplayReadOnlyOptions::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TKsDisplayReadOnlyOptions*>(source);
  if (!other) return TPersistent::Assign(source);
  enabled_ = other->enabled_;
  bkColor_ = other->bkColor_;
  textColor_ = other->textColor_;
  if (OnChange) OnChange(this);
}

}  // namespace kestrel
