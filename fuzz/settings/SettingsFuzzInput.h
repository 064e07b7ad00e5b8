#pragma once
// What the settings fuzz targets do with one input, shared with the corpus replay tests: load
// the bytes as a text or binary settings file (the first byte picks the reader's options), and
// when that succeeds, save and load the output again. Binary output must come back unchanged at
// once. Text output settles within a bounded number of rounds: the text format writes values
// named "" or "#…" as bare lines, which a reader takes apart once more when they hold the
// separator, a leading "[" or nothing at all; each such round uses up a separator.

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
  int rounds = 3;
  if (!binary) {
    for (std::size_t i = 0; i < size; ++i) rounds += data[i] == '=' || data[i] == ':';
  }
  for (int round = 0; round < rounds; ++round) {
    std::vector<std::uint8_t> next = SettingsRoundTrip(ini, first.data(), first.size());
    if (next == first) return true;
    if (binary) return false;
    first = std::move(next);
  }
  return false;
}

}  // namespace kestrel::fuzz
