#include "settings/KsIniEntry.h"

#include <array>

#include "framework/SysUtils.h"
#include "settings/internal/KsIniEntryPool.h"

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
  // Children without children of their own go at once, so a wide key needs no pending list.
  std::vector<std::unique_ptr<TKsIniEntry>> pending;
  auto release = [&pending](std::vector<std::unique_ptr<TKsIniEntry>>& children) {
    for (auto& child : children) {
      if (child->FChildren.empty()) {
        child.reset();
      } else {
        pending.push_back(std::move(child));
      }
    }
    children.clear();
  };
  release(FChildren);
  while (!pending.empty()) {
    std::unique_ptr<TKsIniEntry> entry = std::move(pending.back());
    pending.pop_back();
    release(entry->FChildren);
  }
}

void* TKsIniEntry::operator new(std::size_t size) { return TKsIniEntryPool::Allocate(size); }

void TKsIniEntry::operator delete(void* block, std::size_t size) { TKsIniEntryPool::Release(block, size); }

String TKsIniEntry::NormalName(std::u16string_view name) { return UpperCase(Trim(name)); }

namespace {

std::uint32_t HashNormal(std::u16string_view normal) {
  const auto& table = CrcTable();
  std::uint32_t crc = 0;
  for (char16_t c : normal) {
    crc = table[(crc ^ static_cast<std::uint8_t>(c & 0xFF)) & 0xFF] ^ (crc >> 8);
  }
  return crc;
}

}  // namespace

std::uint32_t TKsIniEntry::HashName(std::u16string_view name) { return HashNormal(NormalName(name)); }

void TKsIniEntry::SetValueName(const String& value) {
  if (FParent) FParent->index_.reset();
  FValueName = value;
  FNameHash = HashName(value);
}

void TKsIniEntry::IndexAppend(TKsIniEntry* child) const {
  child->nextSameHash_ = nullptr;
  if (!index_) return;
  TKsIniNameIndex::TChain& chain = index_->Insert(child->FNameHash);
  if (chain.last) {
    chain.last->nextSameHash_ = child;
  } else {
    chain.first = child;
  }
  chain.last = child;
}

void TKsIniEntry::IndexRemove(TKsIniEntry* child) const {
  if (!index_) return;
  TKsIniNameIndex::TChain* found = index_->Find(child->FNameHash);
  if (!found) return;
  TKsIniNameIndex::TChain& chain = *found;
  TKsIniEntry* previous = nullptr;
  for (TKsIniEntry* e = chain.first; e; previous = e, e = e->nextSameHash_) {
    if (e != child) continue;
    (previous ? previous->nextSameHash_ : chain.first) = e->nextSameHash_;
    if (chain.last == e) chain.last = previous;
    break;
  }
  if (!chain.first) index_->Erase(child->FNameHash);
  child->nextSameHash_ = nullptr;
}

TKsIniEntry* TKsIniEntry::FirstOfHash(std::uint32_t hash) const {
  if (!index_) {
    index_ = std::make_unique<TKsIniNameIndex>(FChildren.size());
    for (const auto& child : FChildren) IndexAppend(child.get());
  }
  const TKsIniNameIndex::TChain* chain = index_->Find(hash);
  return chain ? chain->first : nullptr;
}

template <class Pred>
TKsIniEntry* TKsIniEntry::FindIf(std::u16string_view name, Pred pred) const {
  const String normal = NormalName(name);
  return FindIf(normal, HashNormal(normal), pred);
}

template <class Pred>
TKsIniEntry* TKsIniEntry::FindIf(std::u16string_view normal, std::uint32_t hash, Pred pred) const {
  auto matches = [&](const TKsIniEntry& child) {
    return child.FNameHash == hash && pred(child) && NormalName(child.FValueName) == normal;
  };
  if (index_ || FChildren.size() >= kIndexThreshold) {
    for (TKsIniEntry* child = FirstOfHash(hash); child; child = child->nextSameHash_) {
      if (matches(*child)) return child;
    }
    return nullptr;
  }
  for (const auto& child : FChildren) {
    if (matches(*child)) return child.get();
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

TKsIniEntry* TKsIniEntry::FindOrAddValue(const String& name, std::uint32_t hash) {
  TKsIniEntry* found = FindIf(NormalName(name), hash, [](const TKsIniEntry& e) { return !e.FIsKey; });
  return found ? found : Add(name, false);
}

void TKsIniEntry::PrefetchName(std::uint32_t hash) const {
  if (index_) index_->Prefetch(hash);
}

void TKsIniEntry::Append(std::unique_ptr<TKsIniEntry> child) {
  child->FParent = this;
  FChildren.push_back(std::move(child));
  IndexAppend(FChildren.back().get());
}

TKsIniEntry* TKsIniEntry::Add(const String& name, bool isKey) {
  Append(std::make_unique<TKsIniEntry>(this, name, isKey));
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
  IndexRemove(child);
  std::unique_ptr<TKsIniEntry> owned = std::move(FChildren[static_cast<std::size_t>(index)]);
  FChildren.erase(FChildren.begin() + index);
  owned->FParent = nullptr;
  return owned;
}

void TKsIniEntry::Remove(TKsIniEntry* child) { Detach(child); }

void TKsIniEntry::Clear() {
  index_.reset();
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
  Append(entry->FParent->Detach(entry));
}

}  // namespace kestrel
