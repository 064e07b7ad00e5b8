#pragma once
// Shared helpers for the window manager tests: a class whose procedure records messages, and a
// fixture that starts every test from a fresh platform state.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/window/HeadlessBackend.h"
#include "platform/window/InputInjection.h"
#include "platform/window/WindowApi.h"
#include "tests/support/ThemeScope.h"

namespace kestrel::platform::testing {

struct Recorded {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// Messages that every test sees but that would only clutter sequences.
bool IsNoise(UINT msg);

class MessageLog {
 public:
  static MessageLog& Get();
  void Add(const Recorded& r) {
    if (enabled && !IsNoise(r.msg)) entries.push_back(r);
  }
  void Clear() { entries.clear(); }
  // The recorded messages, optionally of one window only.
  std::vector<UINT> Messages(HWND only = nullptr) const;
  std::vector<Recorded> entries;
  bool enabled = true;
  // Optional per-test behaviour, consulted before default processing; return true to answer.
  std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> handler;
};

// Registers (once) and returns the recording class name; `dblclks` adds CS_DBLCLKS.
const char16_t* RecorderClass(bool dblclks = false);
LRESULT CALLBACK_Recorder(HWND, UINT, WPARAM, LPARAM);

HWND CreateTop(DWORD style = WS_OVERLAPPEDWINDOW, RECT r = {100, 100, 400, 300}, DWORD exStyle = 0,
               const char16_t* cls = nullptr);
HWND CreateChild(HWND parent, RECT r, DWORD style = WS_CHILD | WS_VISIBLE, int id = 0, const char16_t* cls = nullptr,
                 DWORD exStyle = 0);

// Text name of a message number, for readable failure output.
std::string MessageName(UINT msg);
std::string Describe(const std::vector<UINT>& messages);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HeadlessBackend& Backend() { return *HeadlessBackend::Current(); }
  MessageLog& Log() { return MessageLog::Get(); }
  int Pump() { return HeadlessBackend::Pump(); }

 private:
  // SetUp switches to the classic look; this puts back the look the test found.
  const kestrel::testing::ThemeScope look_;
};

#define EXPECT_SEQUENCE(actual, ...)                                                                                   \
  do {                                                                                                                 \
    std::vector<UINT> expected_{__VA_ARGS__};                                                                          \
    auto actual_ = (actual);                                                                                           \
    EXPECT_EQ(expected_, actual_) << "expected " << ::kestrel::platform::testing::Describe(expected_) << "\n  actual " \
                                  << ::kestrel::platform::testing::Describe(actual_);                                  \
  } while (0)

}  // namespace kestrel::platform::testing
