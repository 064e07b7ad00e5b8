#include "platform/text/internal/FontConfiguration.h"

#include "platform/core/DataDirectory.h"
#include "platform/core/OwnedHandles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <utility>

namespace kestrel::platform {

namespace {

std::mutex& ConfigMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string ConfigFileName() {
  if (const char* path = std::getenv("KESTREL_FONT_CONFIG"); path && *path) return path;
  const std::string& data = DataDirectory();
  return data.empty() ? std::string("fonts/fonts.conf (no data folder found)") : data + "/fonts/fonts.conf";
}

struct LoadedConfig {
  FcConfig* config = nullptr;  // kept for the life of the process
  std::string file;
};

LoadedConfig LoadConfig() {
  // Our own configuration only, when it is there: no FcInit, which would read the desktop's.
  LoadedConfig loaded;
  std::string file = ConfigFileName();
  FcConfigPtr config(FcConfigCreate());
  std::string folder = std::filesystem::path(file).parent_path().string();
  bool ok = std::filesystem::exists(file) &&
            FcConfigParseAndLoad(config.get(), reinterpret_cast<const FcChar8*>(file.c_str()), FcTrue) &&
            FcConfigBuildFonts(config.get()) &&
            FcConfigAppFontAddDir(config.get(), reinterpret_cast<const FcChar8*>(folder.c_str()));
  if (ok) {
    loaded.config = config.release();
    loaded.file = file;
    return loaded;
  }
  // Without our own configuration the desktop's is the best guide: its alias rules send a family
  // we lack (say Verdana) to a similar one. A bare configuration would pick any face at all, for
  // example a mathematics face whose line height is four times its size.
  std::fprintf(stderr, "kestrel: cannot load the font configuration %s; using the desktop's font configuration\n",
               file.c_str());
  config.reset(FcInitLoadConfigAndFonts());
  if (!config) {
    config.reset(FcConfigCreate());
    FcConfigAppFontAddDir(config.get(), reinterpret_cast<const FcChar8*>("/usr/share/fonts"));
  }
  loaded.config = config.release();
  return loaded;
}

const LoadedConfig& Loaded() {
  static const LoadedConfig loaded = LoadConfig();
  return loaded;
}

int ToFcWeight(int weight) {
  if (weight <= 0) weight = 400;
  return FcWeightFromOpenType(weight);
}

FcPatternPtr BuildPattern(const FaceRequest& request) {
  FcPatternPtr owned(FcPatternCreate());
  FcPattern* pattern = owned.get();
  std::string family = request.family;
  if (family.empty()) family = request.monospace ? "monospace" : "sans-serif";
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, ToFcWeight(request.weight));
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  return owned;
}

std::optional<FaceChoice> ChoiceFrom(FcPattern* font) {
  FcChar8* file = nullptr;
  if (!font || FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  FaceChoice choice;
  choice.file = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(font, FC_INDEX, 0, &choice.index);
  FcChar8* family = nullptr;
  if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch)
    choice.family = reinterpret_cast<const char*>(family);
  int weight = FC_WEIGHT_REGULAR;
  if (FcPatternGetInteger(font, FC_WEIGHT, 0, &weight) == FcResultMatch) choice.weight = FcWeightToOpenType(weight);
  int slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(font, FC_SLANT, 0, &slant);
  choice.italic = slant != FC_SLANT_ROMAN;
  return choice;
}

std::optional<FaceChoice> Match(FcPatternPtr pattern) {
  std::lock_guard lock(ConfigMutex());
  FcConfig* config = Loaded().config;
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  FcPatternPtr font(FcFontMatch(config, pattern.get(), &result));
  return ChoiceFrom(font.get());
}

}  // namespace

FcConfig* PrivateFontConfig() { return Loaded().config; }

std::string PrivateFontConfigFile() { return Loaded().file; }

std::optional<FaceChoice> MatchFace(const FaceRequest& request) { return Match(BuildPattern(request)); }

std::optional<FaceChoice> MatchFaceFor(const FaceRequest& request, char32_t codePoint) {
  FcPatternPtr pattern = BuildPattern(request);
  FcCharSetPtr charset(FcCharSetCreate());
  FcCharSetAddChar(charset.get(), codePoint);
  FcPatternAddCharSet(pattern.get(), FC_CHARSET, charset.get());
  // The match ranks coverage above the family, but may still return a face without the
  // character when none has it: the caller checks the glyph.
  return Match(std::move(pattern));
}

}  // namespace kestrel::platform
