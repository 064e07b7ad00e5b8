#pragma once
// TStringList: the string list that stores its items, optionally sorted (with binary-search
// Find and a duplicates policy), optionally owning its objects, with change events.

#include <functional>
#include <vector>

#include "framework/Strings.h"

namespace kestrel {

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// < 0, 0, > 0 for the items at index1 and index2 of the list being sorted.
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
  KESTREL_CLASS(TStringList)
  TStringList() = default;
  explicit TStringList(bool ownsObjects) : ownsObjects_(ownsObjects) {}
  ~TStringList() override;

  // On a sorted list Add inserts at the sorted place; an equal item is then ignored (returning
  // its index), accepted, or refused with EStringListError "String list does not allow
  // duplicates" according to Duplicates.
  int Add(const String& s) override;
  int AddObject(const String& s, TObject* object) override;
  // Insert and Put on a sorted list raise "Operation not allowed on sorted list".
  void Insert(int index, const String& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  // Moves the item with its object (an owned object stays alive).
  void Move(int curIndex, int newIndex) override;

  // Binary search over Get/Count with CompareStrings; true when found. `index` receives the
  // match or the insertion point; with dupAccept the match is the first of equal items.
  // Meaningful on a sorted list only.
  virtual bool Find(const String& s, int& index) const;
  int IndexOf(const String& s) const override;

  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  // Owned objects are freed when their item is deleted or the list cleared or freed.
  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool value) { ownsObjects_ = value; }
  int Capacity() const { return static_cast<int>(list_.capacity()); }
  void SetCapacity(int value);

  // Raised around every change, except inside an update bracket, which reports once at its end.
  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent value) { onChange_ = std::move(value); }
  const TNotifyEvent& OnChanging() const { return onChanging_; }
  void SetOnChanging(TNotifyEvent value) { onChanging_ = std::move(value); }

 protected:
  virtual void Changed();
  virtual void Changing();
  String Get(int index) const override;
  int GetCount() const override { return static_cast<int>(list_.size()); }
  TObject* GetObject(int index) const override;
  void Put(int index, const String& s) override;
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;
  int CompareStrings(std::u16string_view s1, std::u16string_view s2) const override;
  virtual void InsertItem(int index, const String& s, TObject* object);

 private:
  struct Item {
    String text;
    TObject* object = nullptr;
  };
  void CheckIndex(int index) const;
  void QuickSort(int left, int right, const TStringListSortCompare& compare);

  std::vector<Item> list_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  bool ownsObjects_ = false;
  TDuplicates duplicates_ = dupIgnore;
  TNotifyEvent onChange_;
  TNotifyEvent onChanging_;
};

}  // namespace kestrel
