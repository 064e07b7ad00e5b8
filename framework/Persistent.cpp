#include "framework/Persistent.h"

#include "framework/Exceptions.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* source) {
  if (source) {
    source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const {
  if (!dest) throw EConvertError(u"Cannot assign a %s to a %s", {ClassName(), u"nil"});
  dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  String sourceName = source ? source->ClassName() : String(u"nil");
  throw EConvertError(u"Cannot assign a %s to a %s", {sourceName, ClassName()});
}

String TPersistent::GetNamePath() const { return ClassName(); }

void TPersistent::DefineProperties(TFiler&) {}

}  // namespace kestrel
