#include "GalleryPages.h"

#include "framework/Label.h"

#include <algorithm>

namespace kestrel::gallery {

namespace {

// Function-local so that registrations from other files' static initialisers find it ready.
std::vector<TGalleryPage>& Registry() {
  static std::vector<TGalleryPage> pages;
  return pages;
}

}  // namespace

std::vector<TGalleryPage> TGalleryPages::All() {
  std::vector<TGalleryPage> pages = Registry();
  std::sort(pages.begin(), pages.end(), [](const TGalleryPage& a, const TGalleryPage& b) { return a.name < b.name; });
  return pages;
}

const TGalleryPage* TGalleryPages::Find(const std::string& name) {
  for (const TGalleryPage& page : Registry())
    if (page.name == name) return &page;
  return nullptr;
}

bool TGalleryPages::Register(const TGalleryPage& page) {
  Registry().push_back(page);
  return true;
}

void AddHeading(TForm* form, const String& title, int top) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(12, top, 400, 17);
  label->Font()->SetStyle({fsBold});
  label->SetCaption(title);
}

}  // namespace kestrel::gallery
