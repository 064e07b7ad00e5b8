#include "tests/support/loopback/TestCertificateAuthority.h"

#include <cstdlib>
#include <fstream>

namespace kestrel::testing {

namespace {

bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string Quote(const std::string& path) { return "'" + path + "'"; }

}  // namespace

TestCertificateAuthority::TestCertificateAuthority(const std::string& directory) {
  const std::string d = directory + "/";
  caFile_ = d + "ca.pem";
  server_.certFile = d + "server.pem";
  server_.keyFile = d + "server.key";
  {
    std::ofstream ext(d + "server.ext");
    ext << "subjectAltName=DNS:localhost,IP:127.0.0.1\n"
           "basicConstraints=CA:FALSE\n"
           "extendedKeyUsage=serverAuth\n";
  }
  const std::string ec = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
  ok_ = Run("openssl req -x509" + ec + " -keyout " + Quote(d + "ca.key") + " -out " + Quote(caFile_) +
            " -days 2 -subj '/CN=Kestrel Test CA'" + " -addext basicConstraints=critical,CA:TRUE" +
            " -addext keyUsage=critical,keyCertSign,cRLSign") &&
        Run("openssl req" + ec + " -keyout " + Quote(server_.keyFile) + " -out " + Quote(d + "server.csr") +
            " -subj /CN=localhost") &&
        Run("openssl x509 -req -in " + Quote(d + "server.csr") + " -CA " + Quote(caFile_) + " -CAkey " +
            Quote(d + "ca.key") + " -CAcreateserial -days 2 -out " + Quote(server_.certFile) + " -extfile " +
            Quote(d + "server.ext"));
}

}  // namespace kestrel::testing
