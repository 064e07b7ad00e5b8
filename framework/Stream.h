#pragma once
// Byte streams: the abstract TStream and the streams over file handles. Read and Write may move
// fewer bytes than asked (end of data, a failed device); ReadBuffer and WriteBuffer insist on the
// whole count and raise EReadError "Stream read error" / EWriteError "Stream write error".

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/Object.h"
#include "platform/core/UniqueFd.h"

namespace kestrel {

class TComponent;

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// Open modes of TFileStream: one access mode, optionally or-ed with one share mode; fmCreate
// creates the file or empties an existing one and opens it for reading and writing.
constexpr std::uint16_t fmCreate = 0xFF00;
constexpr std::uint16_t fmOpenRead = 0x0000;
constexpr std::uint16_t fmOpenWrite = 0x0001;
constexpr std::uint16_t fmOpenReadWrite = 0x0002;
constexpr std::uint16_t fmShareCompat = 0x0000;
constexpr std::uint16_t fmShareExclusive = 0x0010;
constexpr std::uint16_t fmShareDenyWrite = 0x0020;
constexpr std::uint16_t fmShareDenyRead = 0x0030;
constexpr std::uint16_t fmShareDenyNone = 0x0040;

class TStream : public TObject {
  KESTREL_CLASS(TStream)
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  ~TStream() override = default;

  // Bytes actually moved; 0 at the end or on failure.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  // The new position, or -1 when the stream cannot go there (it then stays where it was).
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t value) { Seek(value, soBeginning); }
  virtual std::int64_t Size();
  // Streams that cannot change their size ignore it.
  virtual void SetSize(std::int64_t newSize);

  void ReadBuffer(void* buffer, std::size_t count);
  void WriteBuffer(const void* buffer, std::size_t count);
  // Copies `count` bytes from the source's position; count 0 copies the whole source from its
  // start. Returns the number of bytes copied; raises EReadError/EWriteError when short.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);

  // A component in the streamed text form, at the position (see Filer.h).
  void WriteComponent(TComponent* instance);
  TComponent* ReadComponent(TComponent* instance = nullptr);
};

// Everything from the position to the end, read in chunks (so also from pipes, whose size is
// unknown).
std::vector<std::uint8_t> ReadRemaining(TStream& stream);

// A stream over a POSIX file descriptor it does not own.
class THandleStream : public TStream {
  KESTREL_CLASS(THandleStream)
  explicit THandleStream(int handle) : handle_(handle) {}

  int Handle() const { return handle_; }
  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override;
  // Truncates or extends the file; raises EStreamError when the file cannot be resized.
  void SetSize(std::int64_t newSize) override;

 protected:
  int handle_;
};

// A stream over a named file, closed when the stream dies. A failure to create raises
// EFCreateError "Cannot create file \"%s\". %s", a failure to open EFOpenError
// "Cannot open file \"%s\". %s" (the second part is the system's reason). Share modes other than
// "deny none" take an advisory lock, so two streams of this program honour each other.
class TFileStream : public THandleStream {
  KESTREL_CLASS(TFileStream)
  TFileStream(const String& fileName, std::uint16_t mode, std::uint32_t rights = 0666);

  const String& FileName() const { return fileName_; }
  // Pushes written data to the disk (fsync).
  void Flush();

 private:
  TFileStream(platform::UniqueFd file, const String& fileName);

  platform::UniqueFd file_;
  String fileName_;
};

}  // namespace kestrel
