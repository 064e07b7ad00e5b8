#pragma once
// Internal to the settings store's sources: the guard that returns to the current key.

#include "settings/KsIniFile.h"
#include "settings/KsIniRegistry.h"

namespace kestrel {

// Remembers the current key and returns to it when the operation ends. Entries are only reused
// while nothing was freed; otherwise the key is reopened by its path (without creation, so a
// deleted key is not brought back: the current key then stays at its deepest surviving
// ancestor).
class TKsIniFile::TKeyScope {
 public:
  explicit TKeyScope(TKsIniFile& ini)
      : ini_(ini),
        entry_(ini.FCurrent),
        key_(ini.FCurrentKey),
        removals_(ini.FRemovals),
        renames_(ini.FRenames) {
    if (ini.FReg) regPath_ = ini.FReg->CurrentPath();
  }
  ~TKeyScope() {
    if (ini_.FReg) {
      if (!ini_.FReg->OpenKey(regPath_, false)) ini_.FReg->OpenKey(ini_.RegFullPath(u"\\"), true);
      return;
    }
    if (ini_.FRemovals == removals_) {
      ini_.FCurrent = entry_;
      ini_.FCurrentKey = ini_.FRenames == renames_ ? key_ : PathOf(entry_, ini_.FDelimiter);
      return;
    }
    ini_.FCurrent = ini_.FRoot.get();
    ini_.FCurrentKey = String(1, ini_.FDelimiter);
    ini_.OpenTreeKey(key_, false);
  }
  TKeyScope(const TKeyScope&) = delete;
  TKeyScope& operator=(const TKeyScope&) = delete;

  static String PathOf(const TKsIniEntry* entry, char16_t delimiter) {
    String path;
    for (; entry && entry->Parent(); entry = entry->Parent()) {
      path = delimiter + entry->ValueName() + path;
    }
    return path.empty() ? String(1, delimiter) : path;
  }

 private:
  TKsIniFile& ini_;
  TKsIniEntry* entry_;
  String key_;
  std::uint64_t removals_;
  std::uint64_t renames_;
  String regPath_;
};

}  // namespace kestrel
