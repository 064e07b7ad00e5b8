#include "controls/KsSBTrackHint.h"

#include "controls/KsSBHandlerCustom.h"

namespace kestrel {

TKsSBTrackHint::TKsSBTrackHint() = default;
TKsSBTrackHint::~TKsSBTrackHint() = default;

void TKsSBTrackHint::Show(const TKsSBHandlerCustom&, const String& text) { text_ = text; }

}  // namespace kestrel
