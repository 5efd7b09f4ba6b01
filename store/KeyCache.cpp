#include "store/KeyCache.h"

#include <openssl/evp.h>

#include <cstdlib>
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

// The major version of a text such as "3.4.1" or "4.6.1 community"; -1 when it has none.
int majorVersion(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    int major = 0;
    std::size_t digits = 0;
    while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9')
        major = major * 10 + (text[digits++] - '0');
    if (digits == 0 || digits >= text.size() || text[digits] != '.') return -1;
    return major;
}

}  // namespace

CipherSettings cipherSettingsFor(std::string_view cipherVersion) {
    CipherSettings settings;
    const int major = majorVersion(cipherVersion);
    if (major == 3) {
        settings.pragmas = {"PRAGMA cipher_page_size = 1024", "PRAGMA kdf_iter = 64000",
                            "PRAGMA fast_kdf_iter = 2", "PRAGMA cipher_use_hmac = ON"};
    } else if (major >= 4) {
        settings.pragmas = {"PRAGMA cipher_compatibility = 3"};
    } else {
        return settings;
    }
    settings.supported = true;
    settings.rawKeyFits = true;
    return settings;
}

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
