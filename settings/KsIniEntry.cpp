#include "settings/KsIniEntry.h"

#include <array>

#include "framework/SysUtils.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsIniEntry, TObject)

namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table;
}

}  // namespace

TKsIniEntry::TKsIniEntry(TKsIniEntry* parent, const String& name, bool isKey)
    : FIsKey(isKey), FParent(parent), FValueName(name), FNameHash(HashName(name)) {}

TKsIniEntry::~TKsIniEntry() {
  // Deep trees are freed iteratively, so a hostile file with a very deep path cannot overflow
  // the stack on destruction.
  std::vector<std::unique_ptr<TKsIniEntry>> pending;
  for (auto& child : FChildren) pending.push_back(std::move(child));
  FChildren.clear();
  while (!pending.empty()) {
    std::unique_ptr<TKsIniEntry> entry = std::move(pending.back());
    pending.pop_back();
    for (auto& child : entry->FChildren) pending.push_back(std::move(child));
    entry->FChildren.clear();
  }
}

String TKsIniEntry::NormalName(std::u16string_view name) { return UpperCase(Trim(name)); }

std::uint32_t TKsIniEntry::HashName(std::u16string_view name) {
  const auto& table = CrcTable();
  std::uint32_t crc = 0;
  for (char16_t c : NormalName(name)) {
    crc = table[(crc ^ static_cast<std::uint8_t>(c & 0xFF)) & 0xFF] ^ (crc >> 8);
  }
  return crc;
}

void TKsIniEntry::SetValueName(const String& value) {
  FValueName = value;
  FNameHash = HashName(value);
}

template <class Pred>
TKsIniEntry* TKsIniEntry::FindIf(std::u16string_view name, Pred pred) const {
  const std::uint32_t hash = HashName(name);
  String normal;
  bool haveNormal = false;
  for (const auto& child : FChildren) {
    if (child->FNameHash != hash || !pred(*child)) continue;
    if (!haveNormal) {
      normal = NormalName(name);
      haveNormal = true;
    }
    if (NormalName(child->FValueName) == normal) return child.get();
  }
  return nullptr;
}

TKsIniEntry* TKsIniEntry::Find(std::u16string_view name) const {
  return FindIf(name, [](const TKsIniEntry&) { return true; });
}

TKsIniEntry* TKsIniEntry::FindKey(std::u16string_view name) const {
  return FindIf(name, [](const TKsIniEntry& e) { return e.FIsKey; });
}

TKsIniEntry* TKsIniEntry::FindValue(std::u16string_view name) const {
  return FindIf(name, [](const TKsIniEntry& e) { return !e.FIsKey; });
}

TKsIniEntry* TKsIniEntry::Add(const String& name, bool isKey) {
  FChildren.push_back(std::make_unique<TKsIniEntry>(this, name, isKey));
  return FChildren.back().get();
}

int TKsIniEntry::IndexOf(const TKsIniEntry* child) const {
  for (std::size_t i = 0; i < FChildren.size(); ++i) {
    if (FChildren[i].get() == child) return static_cast<int>(i);
  }
  return -1;
}

std::unique_ptr<TKsIniEntry> TKsIniEntry::Detach(TKsIniEntry* child) {
  const int index = IndexOf(child);
  if (index < 0) return nullptr;
  std::unique_ptr<TKsIniEntry> owned = std::move(FChildren[static_cast<std::size_t>(index)]);
  FChildren.erase(FChildren.begin() + index);
  owned->FParent = nullptr;
  return owned;
}

void TKsIniEntry::Remove(TKsIniEntry* child) { Detach(child); }

void TKsIniEntry::Clear() {
  std::vector<std::unique_ptr<TKsIniEntry>> old;
  old.swap(FChildren);
}

bool TKsIniEntry::IsAncestorOf(const TKsIniEntry* entry) const {
  for (const TKsIniEntry* e = entry; e; e = e->FParent) {
    if (e == this) return true;
  }
  return false;
}

void TKsIniEntry::Adopt(TKsIniEntry* entry) {
  if (!entry || !entry->FParent || entry->IsAncestorOf(this)) return;
  std::unique_ptr<TKsIniEntry> owned = entry->FParent->Detach(entry);
  owned->FParent = this;
  FChildren.push_back(std::move(owned));
}

}  // namespace kestrel
