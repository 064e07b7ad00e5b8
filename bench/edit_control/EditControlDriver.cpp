// bench_edit_control: runs each side of the edit-control comparison (its own executable next to
// this one, built when its toolkit is present) one after another in this run, prints what each
// measured and how Kestrel compares with the best peer on every measure (a ratio <= 1 means
// Kestrel is at least as good). The peers need an X display: run under xvfb-run.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Measures = std::map<std::string, double>;

const char* const kMeasures[] = {"open_ms", "rss_mb", "key_median_ms", "key_p99_ms", "page_ms"};
// How many keystrokes and pages a side managed within its time budget.
const char* const kCounts[] = {"key_n", "page_n"};

std::filesystem::path OwnFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

// Runs one side and reads its "side=NAME key=value ..." line; empty when it printed none.
bool RunSide(const std::filesystem::path& program, const std::string& argument, std::string& name, Measures& measures) {
  const std::string command = "nice '" + program.string() + "' " + argument + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  std::array<char, 1024> buffer{};
  std::string line;
  while (std::fgets(buffer.data(), buffer.size(), pipe))
    if (std::string(buffer.data()).rfind("side=", 0) == 0) line = buffer.data();
  pclose(pipe);
  if (line.empty()) return false;
  std::istringstream fields(line);
  std::string field;
  while (fields >> field) {
    const auto eq = field.find('=');
    if (eq == std::string::npos) continue;
    if (field.substr(0, eq) == "side") name = field.substr(eq + 1);
    else measures[field.substr(0, eq)] = std::atof(field.c_str() + eq + 1);
  }
  return true;
}

}  // namespace

int main() {
  // The Kestrel side reads its font configuration from the repository's data folder.
  setenv("KESTREL_DATA_DIR", KESTREL_DATA_DIR_DEFAULT, 0);
  if (!std::getenv("DISPLAY")) std::fprintf(stderr, "no DISPLAY: the peers will not run (use xvfb-run -a)\n");
  // The control in its X window comes first: the ratios are taken from it. The same control on
  // the headless backend and the control's parts alone follow, to show where its time goes.
  const std::vector<std::pair<std::string, std::string>> sides = {{"kestrel", ""},      {"kestrel", "headless"},
                                                                  {"kestrel_core", ""}, {"qplaintextedit", ""},
                                                                  {"qscintilla", ""},   {"gtktextview", ""}};
  std::vector<std::pair<std::string, Measures>> results;
  for (const auto& [side, argument] : sides) {
    const auto program = OwnFolder() / ("bench_edit_control_" + side);
    if (!std::filesystem::exists(program)) {
      std::printf("%-16s not built (its toolkit was not found)\n", side.c_str());
      continue;
    }
    std::string name;
    Measures measures;
    if (!RunSide(program, argument, name, measures)) {
      std::printf("%-16s %s failed to run\n", side.c_str(), argument.c_str());
      continue;
    }
    results.emplace_back(name, measures);
  }

  std::printf("\n%-28s", "side");
  for (const char* m : kMeasures) std::printf("%14s", m);
  for (const char* m : kCounts) std::printf("%8s", m);
  std::printf("\n");
  for (const auto& [name, measures] : results) {
    std::printf("%-28s", name.c_str());
    for (const char* m : kMeasures) std::printf("%14.3f", measures.at(m));
    for (const char* m : kCounts) std::printf("%8.0f", measures.at(m));
    std::printf("\n");
  }
  // The control (the first side) against the best of the sides that are not Kestrel's.
  auto isKestrel = [](const std::string& name) { return name.rfind("Kestrel", 0) == 0; };
  if (results.empty() || !isKestrel(results.front().first)) return 0;
  std::printf("%-28s", (results.front().first + " / best peer").c_str());
  for (const char* m : kMeasures) {
    double best = -1;
    for (const auto& [name, measures] : results)
      if (!isKestrel(name) && (best < 0 || measures.at(m) < best)) best = measures.at(m);
    std::printf("%14.2f", best > 0 ? results.front().second.at(m) / best : 0.0);
  }
  std::printf("\n");
  return 0;
}
