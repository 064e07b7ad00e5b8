#pragma once
// Internal to the settings store's sources: the guard that returns to the current key.

#include <vector>

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
      : ini_(ini), entry_(ini.current_), key_(ini.currentKey_), removals_(ini.removals_), renames_(ini.renames_) {
    if (ini.reg_) regPath_ = ini.reg_->CurrentPath();
  }
  ~TKeyScope() {
    if (ini_.reg_) {
      if (!ini_.reg_->OpenKey(regPath_, false)) ini_.reg_->OpenKey(ini_.RegFullPath(u"\\"), true);
      return;
    }
    if (ini_.removals_ == removals_) {
      ini_.current_ = entry_;
      ini_.currentKey_ = ini_.renames_ == renames_ ? key_ : PathOf(entry_, ini_.delimiter_);
      return;
    }
    ini_.current_ = ini_.root_.get();
    ini_.currentKey_ = String(1, ini_.delimiter_);
    ini_.OpenTreeKey(key_, false);
  }
  TKeyScope(const TKeyScope&) = delete;
  TKeyScope& operator=(const TKeyScope&) = delete;

  // Collected leaf first and joined once, so a deep path costs its length, not its square.
  static String PathOf(const TKsIniEntry* entry, char16_t delimiter) {
    std::vector<const String*> names;
    for (; entry && entry->Parent(); entry = entry->Parent()) names.push_back(&entry->ValueName());
    if (names.empty()) return String(1, delimiter);
    String path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
      path += delimiter;
      path += **it;
    }
    return path;
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
