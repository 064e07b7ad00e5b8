#include "framework/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "framework/Encoding.h"
#include "framework/Exceptions.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TMemoryStream, TStream)
KESTREL_IMPLEMENT_CLASS(TStringStream, TMemoryStream)

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  auto size = static_cast<std::int64_t>(data_.size());
  if (position_ >= size || count == 0) return 0;
  std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(size - position_));
  std::memcpy(buffer, data_.data() + position_, n);
  position_ += static_cast<std::int64_t>(n);
  return n;
}

namespace {
constexpr char16_t kMemoryStreamError[] = u"Out of memory while expanding memory stream";
// Far beyond any real use; refusing earlier keeps absurd sizes from reaching the allocator.
constexpr std::uint64_t kMaxSize = std::uint64_t{1} << 39;

void Grow(std::vector<std::uint8_t>& data, std::uint64_t size) {
  try {
    if (size > kMaxSize || size > data.max_size()) throw std::length_error("memory stream");
    data.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    throw EStreamError(kMemoryStreamError);
  } catch (const std::length_error&) {
    throw EStreamError(kMemoryStreamError);
  }
}
}  // namespace

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return 0;
  std::uint64_t end = static_cast<std::uint64_t>(position_) + count;
  if (end < count) throw EStreamError(kMemoryStreamError);  // wrapped around
  if (end > data_.size()) Grow(data_, end);
  std::memcpy(data_.data() + position_, buffer, count);
  position_ = static_cast<std::int64_t>(end);
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = origin == soBeginning ? 0 : (origin == soCurrent ? position_ : Size());
  if ((offset < 0 && base + offset < 0) || (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset))
    return -1;
  position_ = base + offset;
  return position_;
}

void TMemoryStream::SetSize(std::int64_t newSize) {
  if (newSize < 0) throw EStreamError(kMemoryStreamError);
  Grow(data_, static_cast<std::uint64_t>(newSize));
  if (position_ > newSize) position_ = newSize;
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  data_ = ReadRemaining(stream);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream) const { stream.WriteBuffer(data_.data(), data_.size()); }

void TMemoryStream::SaveToFile(const String& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

TStringStream::TStringStream() : encoding_(&TEncoding::UTF8()) {}

TStringStream::TStringStream(const String& text, const TEncoding* encoding)
    : encoding_(encoding ? encoding : &TEncoding::UTF8()) {
  data_ = encoding_->GetBytes(text);
}

TStringStream::TStringStream(const AnsiString& bytes) : encoding_(&TEncoding::UTF8()) {
  data_.assign(bytes.begin(), bytes.end());
}

String TStringStream::DataString() const { return encoding_->GetString(data_.data(), data_.size()); }

void TStringStream::WriteString(const String& text) {
  auto bytes = encoding_->GetBytes(text);
  WriteBuffer(bytes.data(), bytes.size());
}

String TStringStream::ReadString(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  bytes.resize(Read(bytes.data(), count));
  return encoding_->GetString(bytes.data(), bytes.size());
}

}  // namespace kestrel
