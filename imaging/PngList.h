#pragma once
// The chunks of an image in file order; the list owns them.

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "imaging/PngChunk.h"

namespace kestrel {

class TVnPNGList {
 public:
  explicit TVnPNGList(TVnPNGObject* owner) : owner_(owner) {}

  int Count() const { return static_cast<int>(items_.size()); }
  TVnPNGChunk* Item(int index) const;
  int IndexOf(const TVnPNGChunk* chunk) const;
  void Clear() { items_.clear(); }

  // The first chunk with this name, or null.
  TVnPNGChunk* FindChunk(const std::string& name) const;
  // The first chunk of exactly class T, or null.
  template <class T>
  T* ItemFromClass() const {
    for (const auto& c : items_) {
      const TVnPNGChunk& chunk = *c;
      if (typeid(chunk) == typeid(T)) return static_cast<T*>(c.get());
    }
    return nullptr;
  }
  // Removes and frees the chunk (nothing when it is not in the list).
  void RemoveChunk(TVnPNGChunk* chunk);

  // Creates a chunk of class T and puts it where it belongs (see PlaceChunk).
  template <class T>
  T* Add() {
    auto chunk = std::make_unique<T>(owner_);
    chunk->fName = T::GetName();
    T* raw = chunk.get();
    PlaceChunk(std::move(chunk));
    return raw;
  }
  // Appends a chunk read from a file, in file order.
  TVnPNGChunk* Append(std::unique_ptr<TVnPNGChunk> chunk);

 private:
  // Checks the placement rules and inserts: duplicate critical or singular chunks and additions to
  // an image without IHDR or IEND raise EVnPNGError (the latter not while the image is being built).
  void PlaceChunk(std::unique_ptr<TVnPNGChunk> chunk);
  int IndexOfName(const std::string& name) const;

  TVnPNGObject* owner_;
  std::vector<std::unique_ptr<TVnPNGChunk>> items_;
};

}  // namespace kestrel
