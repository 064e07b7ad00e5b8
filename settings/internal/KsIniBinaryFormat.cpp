#include "settings/internal/KsIniBinaryFormat.h"

#include <cstring>

#include "framework/SysUtils.h"

namespace kestrel {

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutString(std::vector<std::uint8_t>& out, std::u16string_view s) {
  PutU32(out, static_cast<std::uint32_t>(s.size()));
  for (char16_t c : s) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
}

void PutValue(std::vector<std::uint8_t>& out, const TKsIniEntry& entry) {
  const TKsValueData& v = entry.ValueData();
  out.push_back(0);
  PutString(out, entry.ValueName());
  out.push_back(v.ValueType);
  switch (v.ValueType) {
    case evtBoolean:
      PutU32(out, 1);
      out.push_back(v.BoolValue ? 1 : 0);
      break;
    case evtInt:
      PutU32(out, 4);
      PutU32(out, static_cast<std::uint32_t>(v.IntValue));
      break;
    case evtString:
      PutU32(out, static_cast<std::uint32_t>(v.StrValue.size() + 4));
      PutString(out, v.StrValue);
      break;
    case evtMultiString: {
      std::uint32_t size = 0;
      for (const String& s : v.MStrValue) size += static_cast<std::uint32_t>(s.size() + 4);
      PutU32(out, size);
      for (const String& s : v.MStrValue) PutString(out, s);
      break;
    }
    case evtBinary:
      PutU32(out, static_cast<std::uint32_t>(v.DataValue.size() + 4));
      PutU32(out, static_cast<std::uint32_t>(v.DataValue.size()));
      out.insert(out.end(), v.DataValue.begin(), v.DataValue.end());
      break;
    case evtDouble: {
      PutU32(out, 8);
      std::uint64_t bits = 0;
      std::memcpy(&bits, &v.DoubleValue, 8);
      for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
      break;
    }
    default: break;
  }
}

class TBinaryReader {
 public:
  explicit TBinaryReader(TKsIniByteWindow& in) : in_(in) {}

  bool AtEnd() const { return in_.Remaining() == 0; }

  std::uint8_t Byte() {
    Need(1);
    const std::uint8_t b = in_.Data()[0];
    in_.Consume(1);
    return b;
  }
  std::uint32_t U32() {
    Need(4);
    const std::uint8_t* p = in_.Data();
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    in_.Consume(4);
    return v;
  }
  String Str() {
    const std::uint32_t count = U32();
    if (count > in_.Remaining() / 2) Damaged();
    Need(std::size_t{count} * 2);
    const std::uint8_t* p = in_.Data();
    String s(count, u'\0');
    for (std::uint32_t i = 0; i < count; ++i) {
      s[i] = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
    }
    in_.Consume(std::size_t{count} * 2);
    return s;
  }
  void Bytes(std::vector<std::uint8_t>& out, std::uint32_t count) {
    Need(count);
    out.assign(in_.Data(), in_.Data() + count);
    in_.Consume(count);
  }
  void Skip(std::uint32_t count) {
    if (!in_.Skip(count)) Damaged();
  }
  [[noreturn]] void Damaged() const {
    throw EKsIniError(u"Damaged settings data at offset %d", {static_cast<std::int64_t>(in_.Offset())});
  }

 private:
  void Need(std::size_t count) const {
    if (!in_.Fill(count)) Damaged();
  }

  TKsIniByteWindow& in_;
};

// Reads one value record after its marker byte; false for a type this reader does not know
// (the record is skipped).
bool ReadValue(TBinaryReader& in, String& name, TKsValueData& v) {
  name = in.Str();
  const std::uint8_t type = in.Byte();
  const std::uint32_t size = in.U32();
  v.ValueType = static_cast<TKsValueType>(type);
  switch (type) {
    case evtBoolean:
      if (size != 1) in.Damaged();
      v.BoolValue = in.Byte() != 0;
      break;
    case evtInt:
      if (size != 4) in.Damaged();
      v.IntValue = static_cast<std::int32_t>(in.U32());
      break;
    case evtString:
      v.StrValue = in.Str();
      if (size != v.StrValue.size() + 4) in.Damaged();
      break;
    case evtMultiString: {
      // The elements fill exactly `size` units of (characters + 4).
      std::uint64_t used = 0;
      while (used < size) {
        v.MStrValue.push_back(in.Str());
        used += v.MStrValue.back().size() + 4;
      }
      if (used != size) in.Damaged();
      break;
    }
    case evtBinary: {
      if (size < 4) in.Damaged();
      const std::uint32_t length = in.U32();
      if (length != size - 4) in.Damaged();
      in.Bytes(v.DataValue, length);
      break;
    }
    case evtDouble: {
      if (size != 8) in.Damaged();
      std::uint64_t bits = in.U32();
      bits |= static_cast<std::uint64_t>(in.U32()) << 32;
      std::memcpy(&v.DoubleValue, &bits, 8);
      break;
    }
    default:
      // A type this reader does not know: its size field is all there is to go by.
      in.Skip(size);
      return false;
  }
  return true;
}

// Values are stored one record late: the index slot of a value is fetched while the one before
// is stored, so a key with very many values does not wait on memory for each of them.
class TPendingValue {
 public:
  void Set(TKsIniEntry& key, String name, TKsValueData data) {
    const std::uint32_t hash = TKsIniEntry::HashName(name);
    key.PrefetchName(hash);
    Store();
    key_ = &key;
    name_ = std::move(name);
    data_ = std::move(data);
    hash_ = hash;
  }
  void Store() {
    if (!key_) return;
    key_->FindOrAddValue(name_, hash_)->ValueData() = std::move(data_);
    key_ = nullptr;
  }

 private:
  TKsIniEntry* key_ = nullptr;
  String name_;
  TKsValueData data_;
  std::uint32_t hash_ = 0;
};

}  // namespace

void TKsIniBinaryFormat::Write(const TKsIniEntry& root, char16_t delimiter, std::vector<std::uint8_t>& out) {
  Write(root, delimiter, [&out](const std::uint8_t* data, std::size_t size) {
    out.insert(out.end(), data, data + size);
    return true;
  });
}

bool TKsIniBinaryFormat::Write(const TKsIniEntry& root, char16_t delimiter, const TSink& sink) {
  constexpr std::size_t kPiece = 256 * 1024;
  std::vector<std::uint8_t> out;
  out.reserve(kPiece + kPiece / 4);
  auto flushFull = [&] {
    if (out.size() < kPiece) return true;
    const bool ok = sink(out.data(), out.size());
    out.clear();
    return ok;
  };
  struct Frame {
    const TKsIniEntry* key;
    String path;
  };
  std::vector<Frame> stack{{&root, String()}};
  while (!stack.empty()) {
    Frame frame = std::move(stack.back());
    stack.pop_back();
    out.push_back(1);
    PutString(out, frame.path);
    const TKsIniEntry& key = *frame.key;
    for (int i = 0; i < key.SubCount(); ++i) {
      const TKsIniEntry& child = *key.Children(i);
      if (!child.IsKey() && child.ValueData().ValueType != evtUnknown) PutValue(out, child);
      if (!flushFull()) return false;
    }
    // Pushed in reverse so the first sub-key comes out first.
    for (int i = key.SubCount() - 1; i >= 0; --i) {
      const TKsIniEntry* child = key.Children(i);
      if (!child->IsKey()) continue;
      stack.push_back({child, frame.path.empty() ? child->ValueName() : frame.path + delimiter + child->ValueName()});
    }
    if (!flushFull()) return false;
  }
  return out.empty() || sink(out.data(), out.size());
}

void TKsIniBinaryFormat::Read(TKsIniByteWindow& window, char16_t delimiter, const TOpenSection& openSection) {
  TBinaryReader in(window);
  TPendingValue pending;
  TKsIniEntry* key = openSection(String(1, delimiter));
  while (!in.AtEnd()) {
    const std::uint8_t marker = in.Byte();
    if (marker == 1) {
      const String path = delimiter + in.Str();
      pending.Store();
      key = openSection(path);
    } else if (marker == 0) {
      String name;
      TKsValueData value;
      if (ReadValue(in, name, value) && key) pending.Set(*key, std::move(name), std::move(value));
    } else {
      in.Damaged();
    }
  }
  pending.Store();
}

}  // namespace kestrel
