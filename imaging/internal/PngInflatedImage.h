#pragma once
// The filtered image inflated from the whole image data stream in one call, handed out row by
// row like the streaming inflater does.
//
// Inflating in one go is much faster than streaming, but needs room for every filtered row. Large
// images get that room as untouched pages, and the rows already used give their pages back as
// the decoder moves on, so what the process holds stays near one image's worth: the decoded rows
// grow as the filtered ones shrink.

#include <cstddef>
#include <cstdint>

namespace kestrel {

class PngInflatedImage {
 public:
  PngInflatedImage() = default;
  ~PngInflatedImage();
  PngInflatedImage(const PngInflatedImage&) = delete;
  PngInflatedImage& operator=(const PngInflatedImage&) = delete;

  // Inflates a zlib stream that must yield exactly `expected` bytes. False when it does not
  // (damaged, shorter or longer) or the room cannot be had; the caller then streams instead.
  bool Inflate(const std::uint8_t* stream, std::size_t size, std::size_t expected);

  // The next `size` bytes, with the `keep` bytes before them still valid (the previous row).
  std::uint8_t* Next(std::size_t size, std::size_t keep);

 private:
  bool Allocate(std::size_t size);
  void ReleaseBefore(std::size_t offset);

  void* mapping_ = nullptr;
  std::size_t mappingSize_ = 0;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;       // pages of our own mapping, which can be given back early
  std::size_t begin_ = 0;     // next byte to hand out
  std::size_t released_ = 0;  // pages before this offset were given back
};

}  // namespace kestrel
