#pragma once
// A renderer on the fixed-metric test font (-14: 7 px per character, cell 14, descent 3).

#include <gtest/gtest.h>

#include <string>

#include "html/HTMLRender.h"
#include "html/internal/HTMLDump.h"

namespace kestrel::testing {

class HTMLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Data().SetDefaultFont(u"Kestrel Fixed");
    Data().SetDefaultHeight(-14);
  }
  TVnHTMLData& Data() { return *render.Data(); }
  void Prepare(const std::string& utf8, int maxWidth = 0, bool wrap = false) {
    render.PrepareText(Utf8ToUtf16(utf8), maxWidth, wrap);
  }
  std::string Outline(const std::string& utf8, int maxWidth = 0, bool wrap = false) {
    Prepare(utf8, maxWidth, wrap);
    return DumpHTMLOutline(Data());
  }
  TVnHTMLItem& At(int index) { return *Data().Item(index); }
  TVnHTMLBreakItem& BreakAt(int index) { return static_cast<TVnHTMLBreakItem&>(At(index)); }

  TVnHTMLRender render;
};

}  // namespace kestrel::testing
