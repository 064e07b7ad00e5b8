#pragma once
// The image data stream read up front: the data of an IDAT chunk and of every IDAT chunk right
// after it, concatenated, and how that run of chunks ended.
//
// Reading everything first lets the stream be inflated in one call. Nothing that went wrong while
// reading is raised at once: Read hands the data out again piece by piece and raises each
// problem at the very point where reading chunk by chunk would have met it, so a decoder working
// through the run behaves exactly as one working on the chunks themselves.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

namespace kestrel {

class PngChunkReader;

class PngIdatRun {
 public:
  // Pieces are read as the chunk-by-chunk decoder reads them, so a short source fails at the
  // same piece.
  static constexpr std::size_t kPieceSize = 65535;

  // `reader` stands at the data of the first IDAT chunk. When a chunk of another kind follows the
  // run, its header is handed back to the reader.
  explicit PngIdatRun(PngChunkReader& reader);

  const std::uint8_t* Data() const { return &data_.data()->value; }
  std::size_t Size() const { return data_.size(); }
  // True when every chunk was whole with a matching CRC and a chunk of another kind follows.
  bool Clean() const { return ending_ == Ending::OtherChunk; }

  // The next piece of data (at most kPieceSize bytes, never across chunks); raises what ended the
  // run once it is used up.
  std::size_t Read(const std::uint8_t*& piece);
  // Gives back the memory of the data once it was inflated in one go; Read must not follow.
  void ReleaseData() { std::vector<Uninitialized>().swap(data_); }
  // Called when the decoder needs no more data: raises what reading on would have raised.
  void Finish() const;

 private:
  enum class Ending { OtherChunk, BadCrc, SourceEnded, Failed };
  struct Chunk {
    std::size_t end;  // offset in data_ just past the chunk's data
  };

  void Gather(PngChunkReader& reader);
  [[noreturn]] void RaiseEnding(bool moreWanted) const;

  // Grows without zero-filling: every byte is read from the chunks right away.
  struct Uninitialized {
    std::uint8_t value;
    Uninitialized() {}  // not '= default', which would zero the byte on resize
  };
  std::vector<Uninitialized> data_;
  std::vector<Chunk> chunks_;
  Ending ending_ = Ending::OtherChunk;
  std::exception_ptr failure_;
  std::size_t chunk_ = 0;  // the chunk Read is in
  std::size_t at_ = 0;     // the next byte Read hands out
};

}  // namespace kestrel
