#pragma once
// The program's private fontconfig configuration (data/fonts/fonts.conf) and face matching.
//
// The configuration is loaded explicitly into its own FcConfig; the user's and the system's
// configuration files are never read, so a family name resolves to the same file everywhere.
// KESTREL_FONT_CONFIG names another configuration file (tests and packaging may relocate it).
// Only when the private configuration cannot be loaded (no data folder) is the desktop's
// configuration used, so that missing families still resolve to similar faces.

#include <fontconfig/fontconfig.h>

#include <optional>
#include <string>

namespace kestrel::platform {

// The face a request resolved to.
struct FaceChoice {
  std::string file;
  int index = 0;
  std::string family;   // the face's own family name (UTF-8)
  int weight = 400;     // OpenType weight class of the face (400 regular, 700 bold)
  bool italic = false;  // italic or oblique face
};

// What a LOGFONT asks for, in fontconfig's terms.
struct FaceRequest {
  std::string family;  // UTF-8; empty = the default (sans-serif)
  int weight = 400;    // LOGFONT weight; 0 = normal
  bool italic = false;
  bool monospace = false;  // FIXED_PITCH without a family name
};

// The private configuration, loaded on first use; never null. If the configuration file cannot
// be read, an empty configuration over the standard font folders is used and a warning printed.
FcConfig* PrivateFontConfig();
// The file the configuration was loaded from (empty when the fallback is in use).
std::string PrivateFontConfigFile();

// The best face for a request; nullopt only when no font at all is installed.
std::optional<FaceChoice> MatchFace(const FaceRequest& request);
// The best face for a request that also has a glyph for `codePoint` (fallback for characters the
// chosen face lacks); nullopt when no configured face covers it.
std::optional<FaceChoice> MatchFaceFor(const FaceRequest& request, char32_t codePoint);

}  // namespace kestrel::platform
