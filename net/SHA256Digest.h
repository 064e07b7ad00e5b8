#pragma once
// TSHA256Digest: the SHA-256 digest of a byte stream fed in pieces, on OpenSSL's EVP interface.

#include <cstddef>
#include <memory>
#include <string>

struct evp_md_ctx_st;

namespace kestrel {

class TSHA256Digest {
 public:
  TSHA256Digest();
  ~TSHA256Digest();
  TSHA256Digest(const TSHA256Digest&) = delete;
  TSHA256Digest& operator=(const TSHA256Digest&) = delete;

  void Update(const void* data, std::size_t size);
  // The digest of everything fed so far, as 64 lower-case hex digits; it ends the stream.
  // Empty when the library failed at any step (such a digest matches nothing).
  std::string HexDigest();
  // Ends the stream and compares its digest with `expectedHex` (hex digits of either case).
  bool Matches(const std::string& expectedHex);

  // Exactly 64 hex digits, of either case.
  static bool IsHexDigest(const std::string& text);

 private:
  struct ContextDeleter {
    void operator()(evp_md_ctx_st* context) const;
  };
  std::unique_ptr<evp_md_ctx_st, ContextDeleter> context_;
  bool ok_ = false;
};

}  // namespace kestrel
