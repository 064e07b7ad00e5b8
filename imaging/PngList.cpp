#include "imaging/PngList.h"

#include <algorithm>

#include "imaging/PngErrors.h"
#include "imaging/PngObject.h"

namespace kestrel {

TVnPNGChunk* TVnPNGList::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

int TVnPNGList::IndexOf(const TVnPNGChunk* chunk) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == chunk) return static_cast<int>(i);
  return -1;
}

int TVnPNGList::IndexOfName(const std::string& name) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->Name() == name) return static_cast<int>(i);
  return -1;
}

TVnPNGChunk* TVnPNGList::FindChunk(const std::string& name) const { return Item(IndexOfName(name)); }

void TVnPNGList::RemoveChunk(TVnPNGChunk* chunk) {
  int index = IndexOf(chunk);
  if (index >= 0) items_.erase(items_.begin() + index);
}

TVnPNGChunk* TVnPNGList::Append(std::unique_ptr<TVnPNGChunk> chunk) {
  items_.push_back(std::move(chunk));
  return items_.back().get();
}

void TVnPNGList::PlaceChunk(std::unique_ptr<TVnPNGChunk> chunk) {
  const std::string& name = chunk->Name();
  static const char* const kSingular[] = {"IHDR", "IDAT", "PLTE", "IEND", "gAMA", "tRNS", "pHYs"};
  bool singular = std::any_of(std::begin(kSingular), std::end(kSingular), [&](const char* n) { return name == n; });
  if (singular && IndexOfName(name) >= 0) RaiseError<EVnPNGError>(PngMessages::ExistentCriticalChunk);
  int header = IndexOfName("IHDR");
  int end = IndexOfName("IEND");
  bool building = owner_ && owner_->BeingCreated;
  if (!building && (header < 0 || end < 0)) RaiseError<EVnPNGError>(PngMessages::InvalidImageForAdd);

  int afterHeader = header + 1;  // 0 when there is no header yet
  int at;
  if (name == "IHDR") {
    at = 0;
  } else if (name == "IEND") {
    at = Count();
  } else if (name == "gAMA" || name == "pHYs" || name == "PLTE") {
    at = afterHeader;
  } else if (name == "tRNS") {
    int palette = IndexOfName("PLTE");
    int data = IndexOfName("IDAT");
    at = palette >= 0 ? palette + 1 : data >= 0 ? data : afterHeader;
  } else {
    at = end >= 0 ? end : Count();
  }
  items_.insert(items_.begin() + at, std::move(chunk));
}

}  // namespace kestrel
