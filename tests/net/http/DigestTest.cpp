// The body's pinned digest, and that a refused body never takes the target's place.

#include <fstream>

#include "net/SHA256Digest.h"
#include "tests/net/http/HTTPGetFixture.h"
#include "tests/support/FolderEntries.h"
#include "tests/support/ReadFileText.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(SHA256DigestTest, KnownAnswersFedInPieces) {
  TSHA256Digest empty;
  EXPECT_EQ(empty.HexDigest(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  TSHA256Digest abc;
  abc.Update("a", 1);
  abc.Update("", 0);
  abc.Update("bc", 2);
  EXPECT_TRUE(abc.Matches("BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"));
}

TEST_F(HTTPGetTest, PinnedDigestDecidesAndARefusedBodyLeavesTheTargetAsItWas) {
  std::string body(5000, '\0');
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i % 251);
  const std::string digest = "69dbee893909fa17d1be397e0c07691336fe42049c29d403467d3d4a1fc3b5a1";
  LoopbackServer server([&](const HttpRequest&) { return Body(body); });
  const fs::path target = dir_ / "download.bin";
  std::ofstream(target) << "earlier";

  // One digit off, then pins that are no digest at all (these request nothing).
  std::string wrong = digest;
  wrong.back() = '0';
  for (const std::string& pin : {wrong, digest.substr(1), std::string(63, 'a') + "g"}) {
    for (const bool toFile : {true, false}) {
      Outcome o;
      auto get = Make(o, "http://files.test/setup", &server);
      get->SetExpectedSHA256(pin);
      if (toFile) FetchFile(*get);
      else ASSERT_TRUE(FetchString(*get));
      EXPECT_EQ(o.errors, 1) << pin << toFile;
      EXPECT_EQ(o.Events(), 1) << pin << toFile;
    }
  }
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(ReadFileText(target), "earlier");
  EXPECT_EQ(FolderEntries(dir_.Path()), Names{"download.bin"});

  Outcome o;
  auto get = Make(o, "http://files.test/setup", &server);
  std::string upper = digest;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  get->SetExpectedSHA256(upper);
  FetchFile(*get);
  ASSERT_EQ(o.doneFile, 1);
  EXPECT_EQ(o.fileName, target.string());
  EXPECT_TRUE(ReadFileText(target) == body);
  EXPECT_EQ(FolderEntries(dir_.Path()), Names{"download.bin"});
}

}  // namespace
}  // namespace kestrel::testing
