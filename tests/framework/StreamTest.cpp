#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "framework/Exceptions.h"
#include "framework/MemoryStream.h"
#include "framework/ResourceStream.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel {
namespace {

String PathIn(const testing::TempDir& dir, const char* name) { return Utf8ToUtf16((dir / name).string()); }

TEST(MemoryStream, ReadWriteSeekAndSize) {
  TMemoryStream s;
  s.WriteBuffer("abcdef", 6);
  EXPECT_EQ(s.Size(), 6);
  EXPECT_EQ(s.Position(), 6);
  EXPECT_EQ(s.Seek(-2, soEnd), 4);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 2u);  // short read at the end
  EXPECT_EQ(std::string(buf, 2), "ef");
  EXPECT_EQ(s.Read(buf, 8), 0u);
  EXPECT_EQ(s.Seek(-1, soBeginning), -1);  // refused, position kept
  EXPECT_EQ(s.Position(), 6);
  s.SetPosition(8);  // past the end: a write fills the gap with zeros
  s.WriteBuffer("z", 1);
  EXPECT_EQ(s.Size(), 9);
  EXPECT_EQ(s.Memory()[6], 0);
  s.SetSize(3);
  EXPECT_EQ(s.Position(), 3);
  // Absurd sizes are stream errors, not crashes or foreign exceptions.
  s.SetPosition(INT64_MAX - 1);
  EXPECT_THROW(s.WriteBuffer("xy", 2), EStreamError);
  EXPECT_THROW(s.SetSize(INT64_MAX), EStreamError);
  EXPECT_EQ(s.Size(), 3);
}

TEST(MemoryStream, BufferCallsRaiseTheStreamErrors) {
  TMemoryStream s;
  s.WriteBuffer("ab", 2);
  s.SetPosition(0);
  char buf[4];
  try {
    s.ReadBuffer(buf, 3);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), u"Stream read error");
    EXPECT_TRUE(e.InheritsFrom(EStreamError::StaticClass()));
  }
  s.ReadBuffer(buf, 0);  // nothing asked, nothing raised
}

TEST(FileStream, CreateWriteReopenAndCopy) {
  testing::TempDir dir;
  String path = PathIn(dir, "data.bin");
  {
    TFileStream f(path, fmCreate);
    f.WriteBuffer("0123456789", 10);
    f.Flush();
  }
  TFileStream f(path, fmOpenRead);
  EXPECT_EQ(f.Size(), 10);
  f.SetPosition(4);
  TMemoryStream m;
  EXPECT_EQ(m.CopyFrom(f, 3), 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.Memory()), 3), "456");
  TMemoryStream whole;
  EXPECT_EQ(whole.CopyFrom(f, 0), 10);  // 0 = everything from the start
  EXPECT_THROW(whole.CopyFrom(f, 11), EReadError);
  EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);  // opened read-only

  {
    TFileStream again(path, fmCreate);  // fmCreate empties an existing file
    EXPECT_EQ(again.Size(), 0);
  }
}

TEST(FileStream, OpenAndCreateFailuresNameTheFileAndTheReason) {
  testing::TempDir dir;
  String missing = PathIn(dir, "missing.txt");
  try {
    TFileStream f(missing, fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), u"Cannot open file \"" + missing + u"\". No such file or directory");
  }
  try {
    TFileStream f(PathIn(dir, "no/such/dir.txt"), fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind(u"Cannot create file \"", 0), 0u);
  }
  // A directory is not a file.
  EXPECT_THROW(TFileStream(Utf8ToUtf16(dir.Path().string()), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(u"", fmOpenRead), EFOpenError);
}

TEST(FileStream, ExclusiveShareModeKeepsOthersOut) {
  testing::TempDir dir;
  String path = PathIn(dir, "locked.txt");
  TMemoryStream().SaveToFile(path);
  TFileStream first(path, fmOpenReadWrite | fmShareExclusive);
  EXPECT_THROW(TFileStream(path, fmOpenRead | fmShareDenyWrite), EFOpenError);
  TFileStream reader(path, fmOpenRead | fmShareDenyNone);  // no lock asked, none checked
  EXPECT_EQ(reader.Size(), 0);
}

TEST(HandleStream, PipesAreReadToTheirEnd) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  ASSERT_EQ(::write(fds[1], "one\ntwo\n", 8), 8);
  ::close(fds[1]);
  THandleStream pipe(fds[0]);
  TStringList lines;
  lines.LoadFromStream(pipe);  // the size of a pipe is unknown
  ::close(fds[0]);
  EXPECT_EQ(lines.CommaText(), u"one,two");
}

TEST(StringStream, TextRoundTripsThroughTheEncoding) {
  TStringStream s(u"Grüße ☃");
  EXPECT_EQ(s.Size(), 11);  // UTF-8 bytes
  EXPECT_EQ(s.DataString(), u"Grüße ☃");
  s.SetPosition(s.Size());
  s.WriteString(u"!");
  s.SetPosition(0);
  EXPECT_EQ(s.ReadString(100), u"Grüße ☃!");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(ResourceStream, RegisteredDataByNameOrIdAndReadOnly) {
  static const std::uint8_t png[] = {0x89, 'P', 'N', 'G'};
  RegisterResource(RT_RCDATA, u"Logo", png, sizeof png);
  RegisterResource(RT_RCDATA, u"#7", png + 1, 3);
  TResourceStream logo(nullptr, u"LOGO", u"rcdata");
  EXPECT_EQ(logo.Size(), 4);
  std::uint8_t first = 0;
  logo.ReadBuffer(&first, 1);
  EXPECT_EQ(first, 0x89);
  EXPECT_THROW(logo.WriteBuffer(&first, 1), EStreamError);
  EXPECT_THROW(logo.SetSize(0), EStreamError);
  TResourceStream byId = TResourceStream::CreateFromID(nullptr, 7, RT_RCDATA);
  EXPECT_EQ(byId.Size(), 3);
  try {
    TResourceStream missing(nullptr, u"Nope", RT_RCDATA);
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), u"Resource Nope not found");
  }
}

}  // namespace
}  // namespace kestrel
