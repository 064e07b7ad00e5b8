// Crash safety: a process killed while it saves over and over leaves a file that loads and
// holds one complete generation, old or new.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "framework/SysUtils.h"
#include "tests/settings/KsIniTestSupport.h"

namespace kestrel::test {
namespace {

constexpr int kValues = 400;

[[noreturn]] void SaveForever(const std::filesystem::path& file, bool binary) {
  auto ini = MakeIni(file);
  ini->SetBinaryMode(binary);
  for (std::int32_t generation = 1;; ++generation) {
    for (int i = 0; i < kValues; ++i) {
      ini->WriteInteger(u"\\Gen\\K" + IntToStr(i % 7), u"v" + IntToStr(i), generation);
    }
    ini->WriteString(u"\\Gen", u"pad", String(static_cast<std::size_t>(generation % 5000), u'x'));
    if (!ini->Save()) _exit(2);
  }
}

// The generation every value holds, or -1 when they disagree or some are missing.
int Generation(TKsIniFile& ini) {
  int generation = 0;
  for (int i = 0; i < kValues; ++i) {
    std::int32_t v = -1;
    if (!ini.ReadInteger(u"\\Gen\\K" + IntToStr(i % 7), u"v" + IntToStr(i), -1, v)) return -1;
    if (i == 0) generation = v;
    if (v != generation) return -1;
  }
  return generation;
}

TEST(KsIniCrashSafety, KilledWhileSavingLeavesOneWholeGeneration) {
  for (bool binary : {false, true}) {
    testing::TempDir dir;
    const auto file = dir / "crash.ini";
    int last = 0;
    for (int round = 0; round < 4; ++round) {
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) SaveForever(file, binary);
      // The kill lands after the first complete save, somewhere in a later one.
      for (int wait = 0; wait < 1000 && !std::filesystem::exists(file); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(60 + 37 * round));
      kill(child, SIGKILL);
      int status = 0;
      waitpid(child, &status, 0);
      ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped by itself";
      auto ini = MakeIni(file);
      ini->SetBinaryMode(binary);
      ASSERT_TRUE(ini->Load());
      const int generation = Generation(*ini);
      EXPECT_GE(generation, 1) << "round " << round;
      last = generation;
      ini->SetPath(u"");
    }
    EXPECT_GE(last, 1);
    // No temporary files are left to pile up besides the one a kill may interrupt.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_LE(files, 1 + 4);
  }
}

}  // namespace
}  // namespace kestrel::test
