#pragma once
// Streams held in memory: TMemoryStream (a growable byte buffer) and TStringStream (the same,
// with its data readable and writable as text).

#include <cstdint>
#include <vector>

#include "framework/Stream.h"

namespace kestrel {

class TEncoding;

class TMemoryStream : public TStream {
  KESTREL_CLASS(TMemoryStream)
  TMemoryStream() = default;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  // Positions past the end are allowed (a later write fills the gap with zeros); negative ones
  // are refused.
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
  void SetSize(std::int64_t newSize) override;

  std::uint8_t* Memory() { return data_.data(); }
  const std::uint8_t* Memory() const { return data_.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return data_; }
  void Clear();

  // Replaces the content with the whole of `stream` (from its start) or of a file.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const String& fileName);
  // Writes the whole content, whatever the position.
  void SaveToStream(TStream& stream) const;
  void SaveToFile(const String& fileName) const;

 protected:
  std::vector<std::uint8_t> data_;
  std::int64_t position_ = 0;
};

// Text in a memory stream, in an encoding (UTF-8 unless given).
class TStringStream : public TMemoryStream {
  KESTREL_CLASS(TStringStream)
  TStringStream();
  explicit TStringStream(const String& text, const TEncoding* encoding = nullptr);
  // Raw 8-bit content.
  explicit TStringStream(const AnsiString& bytes);

  const TEncoding& Encoding() const { return *encoding_; }
  // The whole content decoded.
  String DataString() const;
  // Writes text at the position in the stream's encoding.
  void WriteString(const String& text);
  // Reads `count` bytes at the position and decodes them.
  String ReadString(std::size_t count);

 private:
  const TEncoding* encoding_;
};

}  // namespace kestrel
