#include "framework/StringList.h"

#include <utility>

#include "framework/SysUtils.h"
#include "platform/core/ScopeGuard.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TStringList, TStrings)

namespace {
constexpr char16_t kListIndexError[] = u"List index out of bounds (%d)";
constexpr char16_t kSortedListError[] = u"Operation not allowed on sorted list";
constexpr char16_t kDuplicateString[] = u"String list does not allow duplicates";
constexpr char16_t kListCapacityError[] = u"List capacity out of bounds (%d)";
}  // namespace

TStringList::~TStringList() {
  onChange_ = nullptr;
  onChanging_ = nullptr;
  if (ownsObjects_)
    for (Item& item : list_) delete std::exchange(item.object, nullptr);
}

int TStringList::Add(const String& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const String& s, TObject* object) {
  int index = GetCount();
  if (sorted_) {
    if (Find(s, index)) {
      switch (duplicates_) {
        case dupIgnore: return index;
        case dupError: Error(kDuplicateString, 0);
        case dupAccept: break;
      }
    }
    InsertItem(index, s, object);
    return index;
  }
  // Through the virtual Insert, so that a list keeping its items elsewhere only overrides the
  // item access (Get, GetCount, Insert, PutObject …) and Add still works.
  if (!object) {
    Insert(index, s);
    return index;
  }
  BeginUpdate();
  const platform::ScopeGuard endUpdate([&] { EndUpdate(); });
  Insert(index, s);
  PutObject(index, object);
  return index;
}

void TStringList::Insert(int index, const String& s) {
  if (sorted_) Error(kSortedListError, 0);
  if (index < 0 || index > GetCount()) Error(kListIndexError, index);
  InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const String& s, TObject* object) {
  Changing();
  list_.insert(list_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  TObject* object = list_[static_cast<std::size_t>(index)].object;
  list_.erase(list_.begin() + index);
  if (ownsObjects_) delete object;
  Changed();
}

void TStringList::Clear() {
  if (list_.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(list_);
  if (ownsObjects_)
    for (Item& item : old) delete item.object;
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(list_[static_cast<std::size_t>(index1)], list_[static_cast<std::size_t>(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  if (sorted_) Error(kSortedListError, 0);
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  Changing();
  Item item = std::move(list_[static_cast<std::size_t>(curIndex)]);
  list_.erase(list_.begin() + curIndex);
  list_.insert(list_.begin() + newIndex, std::move(item));
  Changed();
}

bool TStringList::Find(const String& s, int& index) const {
  bool found = false;
  int low = 0;
  int high = GetCount() - 1;
  while (low <= high) {
    int mid = low + (high - low) / 2;
    int c = CompareStrings(Get(mid), s);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

int TStringList::IndexOf(const String& s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

void TStringList::Sort() {
  CustomSort([](TStringList& list, int a, int b) {
    return list.CompareStrings(list.list_[static_cast<std::size_t>(a)].text,
                               list.list_[static_cast<std::size_t>(b)].text);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (sorted_ || GetCount() <= 1 || !compare) return;
  Changing();
  QuickSort(0, GetCount() - 1, compare);
  Changed();
}

void TStringList::QuickSort(int left, int right, const TStringListSortCompare& compare) {
  // In place, with the comparison seeing the list as it is being sorted. The bounds checks on
  // the scans keep an inconsistent comparison from running off the list.
  while (left < right) {
    int i = left;
    int j = right;
    int pivot = left + (right - left) / 2;
    while (i <= j) {
      while (i < right && compare(*this, i, pivot) < 0) ++i;
      while (j > left && compare(*this, j, pivot) > 0) --j;
      if (i <= j) {
        if (i != j) {
          std::swap(list_[static_cast<std::size_t>(i)], list_[static_cast<std::size_t>(j)]);
          if (pivot == i) pivot = j;
          else if (pivot == j) pivot = i;
        }
        ++i;
        --j;
      }
    }
    // Recurse into the smaller part so the depth stays logarithmic.
    if (j - left < right - i) {
      if (left < j) QuickSort(left, j, compare);
      left = i;
    } else {
      if (i < right) QuickSort(i, right, compare);
      right = j;
    }
  }
}

void TStringList::SetSorted(bool value) {
  if (sorted_ == value) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (caseSensitive_ == value) return;
  caseSensitive_ = value;
  if (sorted_) {
    sorted_ = false;
    Sort();
    sorted_ = true;
  }
}

void TStringList::SetCapacity(int value) {
  if (value < GetCount()) Error(kListCapacityError, value);
  list_.reserve(static_cast<std::size_t>(value));
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && onChange_) onChange_(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && onChanging_) onChanging_(this);
}

String TStringList::Get(int index) const {
  CheckIndex(index);
  return list_[static_cast<std::size_t>(index)].text;
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return list_[static_cast<std::size_t>(index)].object;
}

void TStringList::Put(int index, const String& s) {
  if (sorted_) Error(kSortedListError, 0);
  CheckIndex(index);
  Changing();
  list_[static_cast<std::size_t>(index)].text = s;
  Changed();
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index);
  Changing();
  list_[static_cast<std::size_t>(index)].object = object;
  Changed();
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

int TStringList::CompareStrings(std::u16string_view s1, std::u16string_view s2) const {
  return caseSensitive_ ? CompareStr(s1, s2) : CompareText(s1, s2);
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) Error(kListIndexError, index);
}

}  // namespace kestrel
