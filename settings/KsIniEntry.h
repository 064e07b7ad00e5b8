#pragma once
// One node of the settings tree: a key (section) with ordered children, or a named value.
// Children are found by a CRC-32 of the upper-cased, trimmed name first, then by the name itself,
// so lookups are case-insensitive and ignore surrounding blanks. A key with many children keeps
// them chained by hash as well, so a lookup there does not walk the whole list.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/Object.h"
#include "settings/KsIniNameIndex.h"
#include "settings/KsIniTypes.h"

namespace kestrel {

class TKsIniEntry : public TObject {
  KESTREL_CLASS(TKsIniEntry)
  TKsIniEntry(TKsIniEntry* parent, const String& name, bool isKey);
  ~TKsIniEntry() override;
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size);

  bool IsKey() const { return FIsKey; }
  void SetIsKey(bool value) { FIsKey = value; }
  int SubCount() const { return static_cast<int>(FChildren.size()); }
  TKsIniEntry* Children(int index) const { return FChildren[static_cast<std::size_t>(index)].get(); }
  TKsIniEntry* Parent() const { return FParent; }
  const String& ValueName() const { return FValueName; }
  // The parent's hash index follows the new name.
  void SetValueName(const String& value);
  std::uint32_t NameHash() const { return FNameHash; }
  TKsValueData& ValueData() { return FValueData; }
  const TKsValueData& ValueData() const { return FValueData; }
  void Invalidate() { FValueData.Invalidate(); }

  // The first child of that name (key or value), or nullptr.
  TKsIniEntry* Find(std::u16string_view name) const;
  // The first child of that name of the wanted kind, or nullptr.
  TKsIniEntry* FindKey(std::u16string_view name) const;
  TKsIniEntry* FindValue(std::u16string_view name) const;
  // The first value child of that name (whose HashName is `hash`), or a new last one.
  TKsIniEntry* FindOrAddValue(const String& name, std::uint32_t hash);
  // Starts fetching the index slot of a name hash into the cache, for a lookup a little later:
  // a reader that knows the next name while it still stores the one before hides the wait.
  void PrefetchName(std::uint32_t hash) const;
  // A new last child.
  TKsIniEntry* Add(const String& name, bool isKey);
  // Frees the child and its subtree.
  void Remove(TKsIniEntry* child);
  void Clear();
  // Takes a child out of its parent and appends it here; `entry` must not be this entry or one
  // of its ancestors.
  void Adopt(TKsIniEntry* entry);
  bool IsAncestorOf(const TKsIniEntry* entry) const;
  int IndexOf(const TKsIniEntry* child) const;

  // The CRC-32 used for lookups.
  static std::uint32_t HashName(std::u16string_view name);
  // The form names are compared in: trimmed and upper-cased.
  static String NormalName(std::u16string_view name);

 private:
  template <class Pred>
  TKsIniEntry* FindIf(std::u16string_view name, Pred pred) const;
  template <class Pred>
  TKsIniEntry* FindIf(std::u16string_view normal, std::uint32_t hash, Pred pred) const;
  // The first child of that hash; builds the index once the key is large enough for it.
  TKsIniEntry* FirstOfHash(std::uint32_t hash) const;
  void IndexAppend(TKsIniEntry* child) const;
  void IndexRemove(TKsIniEntry* child) const;
  std::unique_ptr<TKsIniEntry> Detach(TKsIniEntry* child);
  void Append(std::unique_ptr<TKsIniEntry> child);

  std::vector<std::unique_ptr<TKsIniEntry>> FChildren;
  bool FIsKey;
  TKsIniEntry* FParent;
  TKsValueData FValueData;
  String FValueName;
  std::uint32_t FNameHash;
  // Built on the first lookup in a key of kIndexThreshold children or more, kept up to date
  // from then on; dropped when a child is renamed (its place in a chain would need a search).
  mutable std::unique_ptr<TKsIniNameIndex> index_;
  mutable TKsIniEntry* nextSameHash_ = nullptr;
  static constexpr std::size_t kIndexThreshold = 16;
};

}  // namespace kestrel
