#include "imaging/PngList.h"

#include <algorithm>

#include "imaging/PngErrors.h"
#include "imaging/PngObject.h"

namespace kestrel {

TVnPNGChunk* TVnPNGList::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return fItems[static_cast<std::size_t>(index)].get();
}

int TVnPNGList::IndexOf(const TVnPNGChunk* chunk) const {
  for (std::size_t i = 0; i < fItems.size(); ++i)
    if (fItems[i].get() == chunk) return static_cast<int>(i);
  return -1;
}

int TVnPNGList::IndexOfName(const std::string& name) const {
  for (std::size_t i = 0; i < fItems.size(); ++i)
    if (fItems[i]->Name() == name) return static_cast<int>(i);
  return -1;
}

TVnPNGChunk* TVnPNGList::FindChunk(const std::string& name) const {
  return Item(IndexOfName(name));
}

void TVnPNGList::RemoveChunk(TVnPNGChunk* chunk) {
  int index = IndexOf(chunk);
  if (index >= 0) fItems.erase(fItems.begin() + index);
}

TVnPNGChunk* TVnPNGList::Append(std::unique_ptr<TVnPNGChunk> chunk) {
  fItems.push_back(std::move(chunk));
  return fItems.back().get();
}

void TVnPNGList::PlaceChunk(std::unique_ptr<TVnPNGChunk> chunk) {
  const std::string& name = chunk->Name();
  static const char* const kSingular[] = {"IHDR", "IDAT", "PLTE", "IEND", "gAMA", "tRNS", "pHYs"};
  bool singular = std::any_of(std::begin(kSingular), std::end(kSingular),
                              [&](const char* n) { return name == n; });
  if (singular && IndexOfName(name) >= 0)
    RaiseError<EVnPNGError>(PngMessages::ExistentCriticalChunk);
  int header = IndexOfName("IHDR");
  int end = IndexOfName("IEND");
  bool building = fOwner && fOwner->BeingCreated;
  if (!building && (header < 0 || end < 0))
    RaiseError<EVnPNGError>(PngMessages::InvalidImageForAdd);

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
  fItems.insert(fItems.begin() + at, std::move(chunk));
}

}  // namespace kestrel
