#pragma once
#include <string>

#include "tests/support/loopback/LoopbackServer.h"

namespace kestrel::testing {

// A certificate authority made for one test run (openssl command line), and a server identity
// it signed for "localhost" and 127.0.0.1.
class TestCertificateAuthority {
 public:
  explicit TestCertificateAuthority(const std::string& directory);
  bool Ok() const { return ok_; }
  const std::string& CAFile() const { return caFile_; }
  const TlsIdentity& Server() const { return server_; }

 private:
  bool ok_ = false;
  std::string caFile_;
  TlsIdentity server_;
};

}  // namespace kestrel::testing
