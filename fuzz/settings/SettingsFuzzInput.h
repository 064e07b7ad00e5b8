#pragma once
// What the settings fuzz targets do with one input, shared with the corpus replay tests: load
// the bytes as a text or binary settings file (the first byte picks the reader's options), and
// when that succeeds, save, load the output again and save once more. The second output must
// equal the first: what the store writes, it reads back as the same tree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/Encoding.h"
#include "framework/MemoryStream.h"
#include "settings/KsIniFile.h"

namespace kestrel::fuzz {

inline std::vector<std::uint8_t> SettingsRoundTrip(TKsIniFile& ini, const std::uint8_t* data,
                                                   std::size_t size) {
  TMemoryStream in;
  in.Write(data, size);
  in.SetPosition(0);
  ini.LoadFromStream(in, &TEncoding::Default());
  TMemoryStream out;
  ini.SaveToStream(out, &TEncoding::Default());
  return out.Bytes();
}

// Returns false when the stored form does not survive a second round.
inline bool RunSettingsFuzzInput(bool binary, const std::uint8_t* data, std::size_t size) {
  std::uint8_t flags = size > 0 ? data[0] : 0;
  if (size > 0) {
    ++data;
    --size;
  }
  TKsIniFile ini(nullptr);
  ini.SetBinaryMode(binary);
  ini.SetTrimSpaces(flags & 1);
  if (flags & 2) ini.SetSimple(true);
  if (flags & 4) ini.SetDivChar(u':');
  std::vector<std::uint8_t> first;
  try {
    first = SettingsRoundTrip(ini, data, size);
  } catch (const EKsIniError&) {
    return true;  // a damaged binary file is reported, never half-read
  }
  const std::vector<std::uint8_t> second = SettingsRoundTrip(ini, first.data(), first.size());
  return first == second;
}

}  // namespace kestrel::fuzz
