#include "store/KeyCache.h"

#include <openssl/evp.h>

#include <fstream>
#include <map>
#include <mutex>

namespace store {

namespace {

// SQLCipher 3's key derivation: PBKDF2-HMAC-SHA1, 64000 rounds, a 256-bit key, the 16-byte salt.
constexpr int kRounds = 64000;
constexpr int kKeyBytes = 32;
constexpr int kSaltBytes = 16;

std::string hex(const unsigned char* bytes, int count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

}  // namespace

std::optional<std::string> rawKeyFor(const std::string& file, const std::string& password) {
    unsigned char salt[kSaltBytes];
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(salt), kSaltBytes)) return std::nullopt;

    static std::mutex mutex;
    static std::map<std::string, std::string> derived;  // password + salt → raw key text
    const std::string lookup =
        password + '\0' + std::string(reinterpret_cast<char*>(salt), kSaltBytes);
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = derived.find(lookup); it != derived.end()) return it->second;

    unsigned char key[kKeyBytes];
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt, kSaltBytes,
                          kRounds, EVP_sha1(), kKeyBytes, key) != 1)
        return std::nullopt;
    std::string raw = "x'" + hex(key, kKeyBytes) + hex(salt, kSaltBytes) + "'";
    derived.emplace(lookup, raw);
    return raw;
}

}  // namespace store
