#pragma once
// What the settings fuzz targets do with one input, shared with the corpus replay tests: load
// the bytes as a settings file (the first byte picks the reader's options), and when that
// succeeds, save and load the output again. Binary output must come back unchanged at once.
// Text output settles within a bounded number of rounds: the text format writes values named
// "" or "#…" as bare lines, which a reader takes apart once more when they hold the separator,
// a leading "[" or nothing at all; each such round uses up a separator.
//
// The stream targets go through LoadFromStream/SaveToStream; the file target goes through
// Load/Save of a real file (format detection, the zero-byte cut, the code-page fallback, the
// atomic replace) and checks the events and the Modified flag around each.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "framework/Encoding.h"
#include "framework/MemoryStream.h"
#include "settings/KsIniFile.h"

namespace kestrel::fuzz {

// One save-and-load of `data`; returns what was saved.
using TSettingsTrip = std::function<std::vector<std::uint8_t>(TKsIniFile&, const std::uint8_t*, std::size_t)>;

inline std::vector<std::uint8_t> SettingsStreamTrip(TKsIniFile& ini, const std::uint8_t* data, std::size_t size) {
  TMemoryStream in;
  in.Write(data, size);
  in.SetPosition(0);
  ini.LoadFromStream(in, &TEncoding::Default());
  TMemoryStream out;
  ini.SaveToStream(out, &TEncoding::Default());
  return out.Bytes();
}

// The options byte: bit 0 TrimSpaces, bit 1 Simple, bit 2 ':' as the separator.
inline void ApplySettingsFuzzOptions(TKsIniFile& ini, bool binary, std::uint8_t flags) {
  ini.SetBinaryMode(binary);
  ini.SetTrimSpaces(flags & 1);
  if (flags & 2) ini.SetSimple(true);
  if (flags & 4) ini.SetDivChar(u':');
}

// Returns false when the stored form does not settle.
inline bool SettingsRoundTripsSettle(TKsIniFile& ini, bool binary, const std::uint8_t* data, std::size_t size,
                                     const TSettingsTrip& trip) {
  std::vector<std::uint8_t> first;
  try {
    first = trip(ini, data, size);
  } catch (const EKsIniError&) {
    return binary;  // a damaged binary file is reported, never half-read
  }
  int rounds = 3;
  if (!binary) {
    for (std::size_t i = 0; i < size; ++i) rounds += data[i] == '=' || data[i] == ':';
  }
  for (int round = 0; round < rounds; ++round) {
    std::vector<std::uint8_t> next = trip(ini, first.data(), first.size());
    if (next == first) return true;
    if (binary) return false;
    first = std::move(next);
  }
  return false;
}

inline bool RunSettingsFuzzInput(bool binary, const std::uint8_t* data, std::size_t size) {
  const std::uint8_t flags = size > 0 ? data[0] : 0;
  if (size > 0) {
    ++data;
    --size;
  }
  TKsIniFile ini(nullptr);
  ApplySettingsFuzzOptions(ini, binary, flags);
  return SettingsRoundTripsSettle(ini, binary, data, size, SettingsStreamTrip);
}

// Load and Save of a real file, with the events and flags they promise.
class TSettingsFileTrip {
 public:
  explicit TSettingsFileTrip(TKsIniFile& ini) : ini_(ini), path_(TripPath()) {
    ini.SetPath(Utf8ToUtf16(path_.string()));
    ini.SetOnBeforeLoad([this](TObject*) { events_ += 'L'; });
    ini.SetOnAfterLoad([this](TObject*) { events_ += 'l'; });
    ini.SetOnBeforeSave([this](TObject*) { events_ += 'S'; });
    ini.SetOnAfterSave([this](TObject*) { events_ += 's'; });
  }
  ~TSettingsFileTrip() {
    ini_.SetPath(u"");
    for (auto setter : {&TKsIniFile::SetOnBeforeLoad, &TKsIniFile::SetOnAfterLoad, &TKsIniFile::SetOnBeforeSave,
                        &TKsIniFile::SetOnAfterSave}) {
      (ini_.*setter)(nullptr);
    }
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TSettingsFileTrip(const TSettingsFileTrip&) = delete;
  TSettingsFileTrip& operator=(const TSettingsFileTrip&) = delete;

  // False once any load or save broke its promises.
  bool Sound() const { return sound_; }

  std::vector<std::uint8_t> operator()(TKsIniFile& ini, const std::uint8_t* data, std::size_t size) {
    {
      std::ofstream out(path_, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // A value that only survives a load that fails.
    ini.WriteInteger(u"\\Kept", u"v", 1);
    events_.clear();
    try {
      Check(ini.Load() && !ini.Modified());
    } catch (const EKsIniError&) {
      // The tree as it was, and OnAfterLoad all the same.
      Check(events_ == "Ll" && ini.ValueExists(u"\\Kept", u"v") && ini.Modified());
      throw;
    }
    Check(events_ == "Ll");
    events_.clear();
    Check(ini.Save() && !ini.Modified() && events_ == "Ss");
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  // A file of this process's own, in memory when the system offers it (saving flushes).
  static std::filesystem::path TripPath() {
    const std::filesystem::path shm("/dev/shm");
    std::error_code ec;
    const auto dir = std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
    return dir / ("kestrel-settings-fuzz-" + std::to_string(::getpid()));
  }
  void Check(bool condition) { sound_ = sound_ && condition; }

  TKsIniFile& ini_;
  std::filesystem::path path_;
  std::string events_;
  bool sound_ = true;
};

// The options byte as above, plus bit 3: binary format.
inline bool RunSettingsFileFuzzInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t flags = size > 0 ? data[0] : 0;
  if (size > 0) {
    ++data;
    --size;
  }
  const bool binary = flags & 8;
  TKsIniFile ini(nullptr);
  ApplySettingsFuzzOptions(ini, binary, flags);
  TSettingsFileTrip trip(ini);
  const bool settled = SettingsRoundTripsSettle(
      ini, binary, data, size, [&trip](TKsIniFile& i, const std::uint8_t* d, std::size_t n) { return trip(i, d, n); });
  return settled && trip.Sound();
}

}  // namespace kestrel::fuzz
