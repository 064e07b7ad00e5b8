#pragma once
// The bytes of a settings file, read a piece at a time. Only the unread part is held, in one
// buffer that is reused from piece to piece and grows only as far as the longest record or
// line needs: loading a large file never holds it whole, nor copies it into fresh memory.
// A window over bytes already in memory has all of them available at once.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/Unicode.h"
#include "platform/core/UniqueFd.h"

namespace kestrel {

class TKsIniByteWindow {
 public:
  TKsIniByteWindow() = default;
  TKsIniByteWindow(const std::uint8_t* data, std::size_t size);
  TKsIniByteWindow(const TKsIniByteWindow&) = delete;
  TKsIniByteWindow& operator=(const TKsIniByteWindow&) = delete;

  // Opens a file for reading (once, on a new window); false when it cannot be read. A missing
  // file is created empty (and reads as empty) when `createMissing` is set.
  bool Open(const String& fileName, bool createMissing);

  // The unread bytes held now.
  const std::uint8_t* Data() const { return base_ + begin_; }
  std::size_t Available() const { return end_ - begin_; }
  // Unread bytes in all, held or still in the file.
  std::size_t Remaining() const { return Available() + unreadInFile_; }
  // Whether every unread byte is held.
  bool Exhausted() const { return unreadInFile_ == 0; }
  // Bytes consumed so far: the offset of Data() in the file.
  std::size_t Offset() const { return consumed_; }
  // Whether reading the file failed (it then counts as ended).
  bool Failed() const { return failed_; }

  // Holds at least `count` unread bytes (reading as much more as fits); false when the file
  // ends first.
  bool Fill(std::size_t count);
  // Holds more unread bytes than now; false at the end.
  bool More() { return Fill(Available() + 1); }
  // Reads the rest of the file into the window.
  void FillAll();
  void Consume(std::size_t count);
  // Consumes `count` bytes without holding them all at once; false when the file ends first.
  bool Skip(std::size_t count);

  static constexpr std::size_t kPiece = 64 * 1024;

 private:
  bool ReadMore();
  void Close();

  platform::UniqueFd fd_;
  std::vector<std::uint8_t> buffer_;
  const std::uint8_t* base_ = nullptr;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t unreadInFile_ = 0;
  std::size_t consumed_ = 0;
  bool failed_ = false;
};

}  // namespace kestrel
