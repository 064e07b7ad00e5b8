// What the component puts on the wire: address split, port, headers, POST, TLS checks.

#include <algorithm>
#include <filesystem>

#include "tests/net/http/HTTPGetFixture.h"
#include "tests/support/loopback/TestCertificateAuthority.h"

namespace kestrel::testing {
namespace {

// The application object lives for the whole run; it is freed once every worker has ended.
class ApplicationCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    HTTPGetTest::PumpUntil([] { return THTTPGetThread::LiveCount() == 0; }, std::chrono::seconds(10));
    if (ApplicationExists()) delete Application();
  }
};
::testing::Environment* const gCleanup = ::testing::AddGlobalTestEnvironment(new ApplicationCleanup);

TEST(HTTPUrlSplit, SchemeHostPathAndPort) {
  THTTPUrlParts p = SplitHTTPUrl("HtTpS://Host.Example/a/b?x=1&y=/z");
  EXPECT_TRUE(p.Secure);
  EXPECT_EQ(p.Port(), 443);
  EXPECT_EQ(p.Host, "Host.Example");
  EXPECT_EQ(p.Path, "/a/b?x=1&y=/z");

  p = SplitHTTPUrl("HTTP://h/");
  EXPECT_FALSE(p.Secure);
  EXPECT_EQ(p.Port(), 80);
  EXPECT_EQ(p.Host, "h");
  EXPECT_EQ(p.Path, "/");

  // No scheme: taken as it stands; "ftp://x/y" has the host "ftp:".
  p = SplitHTTPUrl("example.org/setup.exe");
  EXPECT_EQ(p.Host, "example.org");
  EXPECT_EQ(p.Path, "/setup.exe");
  EXPECT_EQ(SplitHTTPUrl("ftp://x/y").Host, "ftp:");

  // No path at all: the root of the host.
  p = SplitHTTPUrl("http://example.org");
  EXPECT_EQ(p.Host, "example.org");
  EXPECT_EQ(p.Path, "/");
}

TEST_F(HTTPGetTest, InitialValues) {
  THTTPGet get(nullptr);
  EXPECT_EQ(get.AcceptTypes(), "*/*");
  EXPECT_EQ(get.Agent(), "HTTPGet");
  EXPECT_FALSE(get.BinaryData());
  EXPECT_FALSE(get.UseCache());
  EXPECT_FALSE(get.WaitThread());
  EXPECT_TRUE(get.URL().empty() && get.FileName().empty() && get.PostQuery().empty());
  EXPECT_FALSE(get.Busy());
}

TEST_F(HTTPGetTest, GetSendsTheFixedRequestToPort80) {
  LoopbackServer server([](const HttpRequest&) { return Body("payload"); });
  Outcome o;
  // Only port 80 of files.test leads to the server: success proves the port.
  auto get = Make(o, "HTTP://files.test/dl/setup.exe?lang=de&v=2", &server);
  get->SetReferer("http://ref.test/page");
  FetchFile(*get);
  ASSERT_EQ(o.doneFile, 1);
  ASSERT_EQ(server.Requests().size(), 1u);
  const HttpRequest r = server.Requests()[0];
  EXPECT_EQ(r.method, "GET");
  EXPECT_EQ(r.target, "/dl/setup.exe?lang=de&v=2");
  EXPECT_EQ(r.version, "HTTP/1.0");
  EXPECT_EQ(r.Header("Host"), "files.test");
  EXPECT_EQ(r.Header("User-Agent"), "HTTPGet");
  EXPECT_EQ(r.Header("Accept"), "*/*");
  EXPECT_EQ(r.Header("Referer"), "http://ref.test/page");
  EXPECT_EQ(r.Header("Pragma"), "no-cache");
  EXPECT_EQ(r.Header("Cache-Control"), "no-cache");
  // Nothing else: no credentials, no compression offer, no connection or expectation headers.
  std::vector<std::string> names;
  for (const auto& header : r.headers) names.push_back(header.first);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Accept", "Cache-Control", "Host", "Pragma", "Referer", "User-Agent"}));
}

TEST_F(HTTPGetTest, OddAddressesFailWithoutARequest) {
  LoopbackServer server([](const HttpRequest&) { return Body("root"); });
  // No path: the whole rest is the host and its root is fetched.
  Outcome root;
  auto get = Make(root, "http://files.test", &server);
  ASSERT_TRUE(FetchString(*get));
  EXPECT_EQ(root.text, "root");
  EXPECT_EQ(server.Requests().at(0).target, "/");
  EXPECT_FALSE(server.Requests().at(0).HasHeader("Referer"));  // none when empty
  // A port, user information, another scheme or a line break stays in the host, which names
  // no host: each ends in OnError and nothing is sent.
  for (const char* url : {"http://files.test:80/x", "http://user:pw@files.test/x", "ftp://files.test/x",
                          "http://files.test\r\nX-Injected: 1/x", "http:///x", ""}) {
    Outcome o;
    auto odd = Make(o, url, &server);
    ASSERT_TRUE(FetchString(*odd)) << url;
    EXPECT_EQ(o.errors, 1) << url;
    EXPECT_EQ(o.Events(), 1) << url;
  }
  EXPECT_EQ(server.Connections(), 1);
}

TEST_F(HTTPGetTest, OptionalHeadersFollowTheProperties) {
  LoopbackServer server([](const HttpRequest&) { return Body("x"); });
  Outcome o;
  auto get = Make(o, "files.test/no-scheme", &server);  // no scheme: plain HTTP on 80
  get->SetAgent("");
  get->SetUseCache(true);
  get->SetAcceptTypes("application/octet-stream");
  get->SetReferer("a\r\nX-Injected: 1");
  FetchFile(*get);
  ASSERT_EQ(o.doneFile, 1);
  const HttpRequest r = server.Requests().at(0);
  EXPECT_EQ(r.target, "/no-scheme");
  EXPECT_FALSE(r.HasHeader("User-Agent"));
  EXPECT_FALSE(r.HasHeader("Pragma"));
  EXPECT_FALSE(r.HasHeader("Cache-Control"));
  EXPECT_EQ(r.Header("Accept"), "application/octet-stream");
  EXPECT_FALSE(r.HasHeader("X-Injected"));
}

TEST_F(HTTPGetTest, PostSendsFormBodyAndContentType) {
  LoopbackServer server([](const HttpRequest& r) { return Body("echo:" + r.body); });
  Outcome o;
  auto get = Make(o, "http://files.test/form", &server);
  get->SetPostQuery("name=Kestrel&v=1%202");
  ASSERT_TRUE(FetchString(*get));
  EXPECT_EQ(o.text, "echo:name=Kestrel&v=1%202");
  const HttpRequest r = server.Requests().at(0);
  EXPECT_EQ(r.method, "POST");
  EXPECT_EQ(r.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(r.Header("Content-Length"), "20");
}

TEST_F(HTTPGetTest, CredentialsAnswerAChallenge) {
  LoopbackServer server([](const HttpRequest& r) {
    if (r.Header("Authorization") == "Basic dXNlcjpwYXNz") return Body("secret");
    HttpResponse denied = Body("who?");
    denied.status = 401;
    denied.reason = "Unauthorized";
    denied.headers.emplace_back("WWW-Authenticate", "Basic realm=\"k\"");
    return denied;
  });
  Outcome o;
  auto get = Make(o, "http://files.test/private", &server);
  get->SetUserName("user");
  get->SetPassword("pass");
  ASSERT_TRUE(FetchString(*get));
  EXPECT_EQ(o.doneString, 1);
  EXPECT_EQ(o.text, "secret");
}

class HTTPSGetTest : public HTTPGetTest {
 protected:
  static void SetUpTestSuite() {
    HTTPGetTest::SetUpTestSuite();
    caDir_ = new TempDir;
    ca_ = new TestCertificateAuthority(caDir_->Path().string());
  }
  static void TearDownTestSuite() {
    delete ca_;
    delete caDir_;
  }
  static TempDir* caDir_;
  static TestCertificateAuthority* ca_;
};
TempDir* HTTPSGetTest::caDir_ = nullptr;
TestCertificateAuthority* HTTPSGetTest::ca_ = nullptr;

TEST_F(HTTPSGetTest, SecureOn443VerifiesCertificateAndHost) {
  ASSERT_TRUE(ca_->Ok()) << "openssl could not make the test certificates";
  LoopbackServer server([](const HttpRequest&) { return Body("over tls"); }, &ca_->Server());

  Outcome ok;
  auto get = Make(ok, "HTTPS://localhost/secure?q=1", &server, "localhost", 443);
  get->SetCAFile(ca_->CAFile());
  ASSERT_TRUE(FetchString(*get));
  EXPECT_EQ(ok.doneString, 1);
  EXPECT_EQ(ok.text, "over tls");
  EXPECT_EQ(server.Requests().at(0).target, "/secure?q=1");
  EXPECT_EQ(server.Requests().at(0).Header("Host"), "localhost");

  // The certificate names localhost, not this host.
  Outcome wrongHost;
  auto other = Make(wrongHost, "https://mirror.test/secure", &server, "mirror.test", 443);
  other->SetCAFile(ca_->CAFile());
  ASSERT_TRUE(FetchString(*other));
  EXPECT_EQ(wrongHost.errors, 1);
  EXPECT_EQ(wrongHost.doneString, 0);

  // An authority the system store does not know.
  Outcome unknownCA;
  auto untrusted = Make(unknownCA, "https://localhost/secure", &server, "localhost", 443);
  ASSERT_TRUE(FetchString(*untrusted));
  EXPECT_EQ(unknownCA.errors, 1);
  EXPECT_EQ(server.Requests().size(), 1u);  // neither refused client sent its request
}

TEST_F(HTTPSGetTest, SecureRequestIsNotRedirectedToPlainHttp) {
  ASSERT_TRUE(ca_->Ok()) << "openssl could not make the test certificates";
  LoopbackServer plain([](const HttpRequest&) { return Body("tampered"); });
  LoopbackServer secure(
      [](const HttpRequest& r) {
        HttpResponse resp = Body("moved");
        resp.status = 302;
        resp.reason = "Found";
        resp.headers.emplace_back("Location", r.target == "/down" ? "http://localhost/x" : "/final");
        if (r.target == "/final") return Body("secure body");
        return resp;
      },
      &ca_->Server());
  Outcome up, down;
  auto ok = Make(up, "https://localhost/up", &secure, "localhost", 443);
  ok->SetCAFile(ca_->CAFile());
  ASSERT_TRUE(FetchString(*ok));
  EXPECT_EQ(up.text, "secure body");

  auto get = Make(down, "https://localhost/down", &secure, "localhost", 443);
  get->SetConnectTo({secure.ConnectTo("localhost", 443), plain.ConnectTo("localhost", 80)});
  get->SetCAFile(ca_->CAFile());
  ASSERT_TRUE(FetchString(*get));
  EXPECT_EQ(down.errors, 1);
  EXPECT_EQ(down.doneString, 0);
  EXPECT_EQ(plain.Connections(), 0);
}

}  // namespace
}  // namespace kestrel::testing
