#include "imaging/GraphicFormats.h"

#include <algorithm>
#include <deque>
#include <mutex>

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TGraphicInterface, TPersistent)

namespace {

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

std::deque<TGraphicFormat>& Formats() {
  // A deque keeps the pointers FindFileFormat hands out valid when more classes register.
  static std::deque<TGraphicFormat> formats;
  return formats;
}

String Normalised(String extension) {
  if (!extension.empty() && extension[0] == u'.') extension.erase(0, 1);
  for (auto& c : extension)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return extension;
}

}  // namespace

void RegisterFileFormat(const String& extension, const String& description,
                        TGraphicFactory create) {
  std::lock_guard<std::mutex> guard(Lock());
  auto& formats = Formats();
  String key = Normalised(extension);
  auto it = std::find_if(formats.begin(), formats.end(),
                         [&](const TGraphicFormat& f) { return Normalised(f.Extension) == key; });
  if (it != formats.end()) {
    *it = {extension, description, std::move(create)};
  } else {
    formats.push_back({extension, description, std::move(create)});
  }
}

const TGraphicFormat* FindFileFormat(String extension) {
  std::lock_guard<std::mutex> guard(Lock());
  String key = Normalised(std::move(extension));
  for (const auto& f : Formats())
    if (Normalised(f.Extension) == key) return &f;
  return nullptr;
}

std::vector<TGraphicFormat> RegisteredFileFormats() {
  std::lock_guard<std::mutex> guard(Lock());
  return {Formats().begin(), Formats().end()};
}

}  // namespace kestrel
