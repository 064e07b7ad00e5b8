#pragma once
// TStrings: the abstract list of strings with attached objects. Descendants store the items
// (Get, GetCount, Insert, Delete, Clear and, when they hold objects, GetObject/PutObject); this
// class builds everything else on those: text with line breaks, delimited and comma text with
// quoting, name=value pairs, loading and saving in an encoding, update brackets.

#include <string_view>
#include <vector>

#include "framework/Persistent.h"

namespace kestrel {

class TEncoding;
class TStream;

class TStrings : public TPersistent {
  KESTREL_CLASS(TStrings)
  TStrings() = default;
  ~TStrings() override = default;

  // Adding and removing.
  virtual int Add(const String& s);
  virtual int AddObject(const String& s, TObject* object);
  int AddPair(const String& name, const String& value);
  void Append(const String& s) { Add(s); }
  // All of `strings` (with their objects), inside one update bracket.
  virtual void AddStrings(const TStrings& strings);
  virtual void Insert(int index, const String& s) = 0;
  void InsertObject(int index, const String& s, TObject* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);

  // Copies items and objects (and the separators) of another TStrings.
  using TPersistent::Assign;
  void Assign(const TPersistent* source) override;

  // Searching: IndexOf and IndexOfName compare with CompareStrings (case-insensitive here).
  virtual int IndexOf(const String& s) const;
  int IndexOfName(std::u16string_view name) const;
  int IndexOfObject(const TObject* object) const;
  // Same items in the same order, compared exactly.
  bool Equals(const TStrings& other) const;

  // Item access; an index out of range raises EStringListError "List index out of bounds (%d)".
  int Count() const { return GetCount(); }
  String Strings(int index) const { return Get(index); }
  void SetStrings(int index, const String& s) { Put(index, s); }
  String operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* object) { PutObject(index, object); }
  std::vector<String> ToStringArray() const;

  // name=value pairs, split at NameValueSeparator.
  String Names(int index) const;
  String Values(std::u16string_view name) const;
  // An empty value deletes the pair; a new name is added at the end.
  void SetValues(std::u16string_view name, const String& value);
  String ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const String& value);

  // Every item followed by LineBreak (not after the last when TrailingLineBreak is false).
  // Setting splits at CR, LF and CR LF; a break at the very end adds no empty item.
  String Text() const { return GetTextStr(); }
  void SetText(const String& value) { SetTextStr(value); }
  // Items separated by Delimiter; an item with blanks, the delimiter or the quote character is
  // quoted with QuoteChar (doubled inside). Without StrictDelimiter, blanks also separate items
  // on reading.
  String DelimitedText() const;
  void SetDelimitedText(std::u16string_view value);
  // DelimitedText with ',' and '"' and blanks separating, whatever the list's settings.
  String CommaText() const;
  void SetCommaText(std::u16string_view value);

  char16_t Delimiter() const { return delimiter_; }
  void SetDelimiter(char16_t value) { delimiter_ = value; }
  char16_t QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char16_t value) { quoteChar_ = value; }
  char16_t NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char16_t value) { nameValueSeparator_ = value; }
  bool StrictDelimiter() const { return strictDelimiter_; }
  void SetStrictDelimiter(bool value) { strictDelimiter_ = value; }
  const String& LineBreak() const { return lineBreak_; }
  void SetLineBreak(const String& value) { lineBreak_ = value; }
  bool TrailingLineBreak() const { return trailingLineBreak_; }
  void SetTrailingLineBreak(bool value) { trailingLineBreak_ = value; }

  // Loading detects a byte-order mark (UTF-8, UTF-16 LE/BE); without one the given encoding, or
  // DefaultEncoding, applies. Saving uses the given encoding, else the one detected by the last
  // load, else DefaultEncoding, and writes its mark when WriteBOM is set.
  virtual void LoadFromStream(TStream& stream, const TEncoding* encoding = nullptr);
  virtual void SaveToStream(TStream& stream, const TEncoding* encoding = nullptr) const;
  void LoadFromFile(const String& fileName, const TEncoding* encoding = nullptr);
  void SaveToFile(const String& fileName, const TEncoding* encoding = nullptr) const;
  const TEncoding* Encoding() const { return encoding_; }
  const TEncoding& DefaultEncoding() const;
  void SetDefaultEncoding(const TEncoding* value) { defaultEncoding_ = value; }
  bool WriteBOM() const { return writeBOM_; }
  void SetWriteBOM(bool value) { writeBOM_ = value; }

  // Streams the items as the list property "Strings".
  void DefineProperties(TFiler& filer) override;

  // Nested brackets; descendants hear the outermost through SetUpdateState.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 protected:
  virtual String Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int index) const;
  virtual void Put(int index, const String& s);
  virtual void PutObject(int index, TObject* object);
  virtual void SetUpdateState(bool updating);
  virtual String GetTextStr() const;
  virtual void SetTextStr(const String& value);
  // < 0, 0, > 0; case-insensitive here.
  virtual int CompareStrings(std::u16string_view s1, std::u16string_view s2) const;
  // Raises EStringListError with `message` formatted with `data`.
  [[noreturn]] void Error(std::u16string_view message, int data) const;

 private:
  String DelimitedTextWith(char16_t delimiter, char16_t quote, bool strict) const;
  void SetDelimitedTextWith(std::u16string_view value, char16_t delimiter, char16_t quote, bool strict);

  int updateCount_ = 0;
  char16_t delimiter_ = u',';
  char16_t quoteChar_ = u'"';
  char16_t nameValueSeparator_ = u'=';
  bool strictDelimiter_ = false;
  bool trailingLineBreak_ = true;
  bool writeBOM_ = true;
  String lineBreak_ = u"\r\n";
  const TEncoding* encoding_ = nullptr;
  const TEncoding* defaultEncoding_ = nullptr;
};

}  // namespace kestrel
