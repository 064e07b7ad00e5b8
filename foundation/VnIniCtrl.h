#pragma once
// TVnIniCtrl: the program's settings store, sections and values under one registry path of the
// current user. Without a path of its own it uses the one its owner supplies (the services
// object's default registry path).

#include <functional>

#include "framework/Component.h"

namespace kestrel {

class TVnIniCtrl : public TComponent {
  KESTREL_CLASS(TVnIniCtrl)
  explicit TVnIniCtrl(TComponent* owner);

  // The registry path (relative to the current user's root); empty: DefaultPath's.
  const String& Path() const { return path_; }
  void SetPath(const String& value) { path_ = value; }
  std::function<String()> DefaultPath;
  // The path actually used, always ending in '\'.
  String EffectivePath() const;

  // Reads give `fallback` for a missing value or one of another kind.
  String ReadString(const String& section, const String& ident, const String& fallback);
  void WriteString(const String& section, const String& ident, const String& value);
  int ReadInteger(const String& section, const String& ident, int fallback);
  void WriteInteger(const String& section, const String& ident, int value);
  bool ReadBool(const String& section, const String& ident, bool fallback);
  void WriteBool(const String& section, const String& ident, bool value);

  bool SectionExists(const String& section);
  bool ValueExists(const String& section, const String& ident);
  void DeleteKey(const String& section, const String& ident);
  void EraseSection(const String& section);

 private:
  String path_;
};

}  // namespace kestrel
