#include "framework/ResourceStream.h"

#include <map>
#include <mutex>
#include <utility>

#include "framework/Exceptions.h"
#include "framework/SysUtils.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TResourceStream, TMemoryStream)

namespace {

struct Resources {
  std::mutex mutex;
  std::map<std::pair<String, String>, std::pair<const std::uint8_t*, std::size_t>> items;
};

Resources& TheResources() {
  static Resources resources;
  return resources;
}

}  // namespace

void RegisterResource(std::u16string_view type, std::u16string_view name, const std::uint8_t* data, std::size_t size) {
  Resources& r = TheResources();
  std::lock_guard lock(r.mutex);
  r.items[{UpperCase(type), UpperCase(name)}] = {data, data ? size : 0};
}

bool FindResourceData(std::u16string_view type, std::u16string_view name, const std::uint8_t*& data,
                      std::size_t& size) {
  Resources& r = TheResources();
  std::lock_guard lock(r.mutex);
  auto it = r.items.find({UpperCase(type), UpperCase(name)});
  if (it == r.items.end()) return false;
  data = it->second.first;
  size = it->second.second;
  return true;
}

TResourceStream::TResourceStream(platform::HINSTANCE, const String& name, std::u16string_view type) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (!FindResourceData(type, name, data, size)) throw EResNotFound(u"Resource %s not found", {name});
  data_.assign(data, data + size);
}

TResourceStream TResourceStream::CreateFromID(platform::HINSTANCE instance, int id, std::u16string_view type) {
  return TResourceStream(instance, u"#" + IntToStr(id), type);
}

std::size_t TResourceStream::Write(const void*, std::size_t) {
  throw EStreamError(u"Can't write to a read-only resource stream");
}

void TResourceStream::SetSize(std::int64_t) { throw EStreamError(u"Can't write to a read-only resource stream"); }

}  // namespace kestrel
