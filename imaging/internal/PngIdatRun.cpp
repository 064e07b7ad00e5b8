#include "imaging/internal/PngIdatRun.h"

#include <algorithm>
#include <cstring>

#include "imaging/PngErrors.h"
#include "imaging/PngHeader.h"
#include "imaging/PngSource.h"
#include "imaging/internal/OnFailure.h"
#include "platform/core/LargePages.h"

namespace kestrel {

PngIdatRun::PngIdatRun(PngChunkReader& reader) {
  try {
    Gather(reader);
  } catch (...) {
    ending_ = Ending::Failed;
    failure_ = std::current_exception();
  }
  // A chunk whose data broke off is handed out as far as it arrived.
  if (chunks_.empty() || chunks_.back().end != data_.size()) chunks_.push_back({data_.size()});
}

void PngIdatRun::Gather(PngChunkReader& reader) {
  // What the source still holds bounds the stream, and reserving it spares the copies of growing.
  if (std::int64_t left = reader.SourceRemaining(); left > 0) {
    data_.reserve(static_cast<std::size_t>(left));
    platform::PreferLargePages(data_.data(), data_.capacity());
  }
  for (;;) {
    while (reader.ChunkRemaining() > 0) {
      std::size_t n = std::min<std::size_t>(reader.ChunkRemaining(), kPieceSize);
      std::size_t at = data_.size();
      data_.resize(at + n);
      OnFailure dropUnread([this, at] { data_.resize(at); });
      reader.ReadData(&data_[at].value, n);
    }
    chunks_.push_back({data_.size()});
    if (!reader.FinishChunk()) {
      ending_ = Ending::BadCrc;
      return;
    }
    std::uint32_t length = 0;
    char name[4];
    if (!reader.NextChunk(length, name)) {
      ending_ = Ending::SourceEnded;
      return;
    }
    if (std::memcmp(name, "IDAT", 4) != 0) {
      reader.PushBackChunk(length, name);
      ending_ = Ending::OtherChunk;
      return;
    }
  }
}

std::size_t PngIdatRun::Read(const std::uint8_t*& piece) {
  while (at_ == chunks_[chunk_].end) {
    if (chunk_ + 1 == chunks_.size()) RaiseEnding(true);
    ++chunk_;
  }
  std::size_t begin = chunk_ == 0 ? 0 : chunks_[chunk_ - 1].end;
  // Pieces start at kPieceSize steps from the chunk's start, as the chunk's own reads would.
  std::size_t pieceEnd = begin + ((at_ - begin) / kPieceSize + 1) * kPieceSize;
  std::size_t n = std::min(pieceEnd, chunks_[chunk_].end) - at_;
  piece = Data() + at_;
  at_ += n;
  return n;
}

void PngIdatRun::Finish() const {
  if (ending_ != Ending::OtherChunk) RaiseEnding(false);
}

void PngIdatRun::RaiseEnding(bool moreWanted) const {
  switch (ending_) {
    case Ending::OtherChunk:
      if (moreWanted) RaiseError<EVnPNGMissingMultipleIDAT>(PngMessages::MissingMultipleIDAT);
      break;
    case Ending::BadCrc: RaiseError<EVnPNGInvalidCRC>(PngMessages::InvalidCRC);
    case Ending::SourceEnded: RaiseError<EVnPNGUnexpectedEnd>(PngMessages::UnexpectedEnd);
    case Ending::Failed: std::rethrow_exception(failure_);
  }
  RaiseError<EVnPNGUnexpectedEnd>(PngMessages::UnexpectedEnd);
}

}  // namespace kestrel
