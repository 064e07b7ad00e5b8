#include "net/SHA256Digest.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cctype>

namespace kestrel {

void TSHA256Digest::ContextDeleter::operator()(evp_md_ctx_st* context) const { EVP_MD_CTX_free(context); }

TSHA256Digest::TSHA256Digest() : context_(EVP_MD_CTX_new()) {
  ok_ = context_ && EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) == 1;
}

TSHA256Digest::~TSHA256Digest() = default;

void TSHA256Digest::Update(const void* data, std::size_t size) {
  if (ok_ && size) ok_ = EVP_DigestUpdate(context_.get(), data, size) == 1;
}

std::string TSHA256Digest::HexDigest() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  const bool finished = ok_ && EVP_DigestFinal_ex(context_.get(), digest, &length) == 1;
  ok_ = false;  // the stream has ended either way
  if (!finished) return std::string();
  static const char hex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text += hex[digest[i] >> 4];
    text += hex[digest[i] & 15];
  }
  return text;
}

bool TSHA256Digest::Matches(const std::string& expectedHex) {
  const std::string actual = HexDigest();
  if (actual.empty() || !IsHexDigest(expectedHex)) return false;
  return std::equal(actual.begin(), actual.end(), expectedHex.begin(),
                    [](char a, char e) { return a == std::tolower(static_cast<unsigned char>(e)); });
}

bool TSHA256Digest::IsHexDigest(const std::string& text) {
  return text.size() == 64 &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

}  // namespace kestrel
