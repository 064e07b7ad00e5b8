#pragma once
// The gallery's pages by name. Each page's source file registers its form with
// KESTREL_GALLERY_PAGE, so a new page needs no change to the main form or the program's start.

#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"

namespace kestrel::gallery {

struct TGalleryPage {
  std::string name;  // as given to --page
  String title;      // the main form's button caption
  TForm* (*create)();
};

class TGalleryPages {
 public:
  // Every registered page, sorted by name.
  static std::vector<TGalleryPage> All();
  static const TGalleryPage* Find(const std::string& name);
  static bool Register(const TGalleryPage& page);
};

// A bold heading line on a page, at the page's left margin.
void AddHeading(TForm* form, const String& title, int top);

template <class Form>
TForm* CreateGalleryForm() {
  Form* form = nullptr;
  Application()->CreateForm(form);
  return form;
}

}  // namespace kestrel::gallery

#define KESTREL_GALLERY_PAGE_JOIN2(a, b) a##b
#define KESTREL_GALLERY_PAGE_JOIN(a, b) KESTREL_GALLERY_PAGE_JOIN2(a, b)
#define KESTREL_GALLERY_PAGE(Name, Title, FormClass)                                                                 \
  namespace {                                                                                                        \
  const bool KESTREL_GALLERY_PAGE_JOIN(galleryPageRegistered_, __LINE__) =                                           \
      ::kestrel::gallery::TGalleryPages::Register({Name, Title, &::kestrel::gallery::CreateGalleryForm<FormClass>}); \
  }
