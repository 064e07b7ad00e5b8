#include "foundation/VnIniCtrl.h"

#include "framework/Registry.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TVnIniCtrl, TComponent)

void TVnIniCtrl::PublishProperties(TClassBuilder<TVnIniCtrl>& b) {
  b.Property(u"Path", &TVnIniCtrl::Path, &TVnIniCtrl::SetPath);
}

TVnIniCtrl::TVnIniCtrl(TComponent* owner) : TComponent(owner) {}

String TVnIniCtrl::EffectivePath() const {
  String path = path_.empty() && DefaultPath ? DefaultPath() : path_;
  if (path.empty() || path.back() != u'\\') path += u'\\';
  return path;
}

namespace {

// A section's key opened for reading (nothing created) or for writing.
bool OpenSection(TRegistry& registry, const String& key, bool forWriting) {
  return forWriting ? registry.OpenKey(key, true) : registry.OpenKeyReadOnly(key);
}

template <class T, class Read>
T ReadValue(const String& key, const String& ident, T fallback, TRegDataType kind, Read read) {
  TRegistry registry(platform::KEY_READ);
  if (!OpenSection(registry, key, false) || registry.GetDataType(ident) != kind) return fallback;
  try {
    return read(registry);
  } catch (const ERegistryException&) {
    return fallback;
  }
}

}  // namespace

String TVnIniCtrl::ReadString(const String& section, const String& ident, const String& fallback) {
  return ReadValue<String>(EffectivePath() + section, ident, fallback, rdString,
                           [&](TRegistry& r) { return r.ReadString(ident); });
}

void TVnIniCtrl::WriteString(const String& section, const String& ident, const String& value) {
  TRegistry registry;
  if (OpenSection(registry, EffectivePath() + section, true)) registry.WriteString(ident, value);
}

int TVnIniCtrl::ReadInteger(const String& section, const String& ident, int fallback) {
  return ReadValue<int>(EffectivePath() + section, ident, fallback, rdInteger,
                        [&](TRegistry& r) { return r.ReadInteger(ident); });
}

void TVnIniCtrl::WriteInteger(const String& section, const String& ident, int value) {
  TRegistry registry;
  if (OpenSection(registry, EffectivePath() + section, true)) registry.WriteInteger(ident, value);
}

bool TVnIniCtrl::ReadBool(const String& section, const String& ident, bool fallback) {
  return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TVnIniCtrl::WriteBool(const String& section, const String& ident, bool value) {
  WriteInteger(section, ident, value ? 1 : 0);
}

bool TVnIniCtrl::SectionExists(const String& section) {
  TRegistry registry(platform::KEY_READ);
  return registry.KeyExists(u"\\" + EffectivePath() + section);
}

bool TVnIniCtrl::ValueExists(const String& section, const String& ident) {
  TRegistry registry(platform::KEY_READ);
  return OpenSection(registry, EffectivePath() + section, false) && registry.ValueExists(ident);
}

void TVnIniCtrl::DeleteKey(const String& section, const String& ident) {
  TRegistry registry;
  if (registry.OpenKey(EffectivePath() + section, false)) registry.DeleteValue(ident);
}

void TVnIniCtrl::EraseSection(const String& section) {
  TRegistry registry;
  registry.DeleteKey(u"\\" + EffectivePath() + section);
}

}  // namespace kestrel
