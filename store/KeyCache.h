#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// SQLCipher turns a password into the file key with 64000 rounds of PBKDF2, tens of
// milliseconds on every opening, and every window reconnects often. The key depends only on the
// password and the salt at the head of the file, so it is derived once per file and process and
// then given to SQLCipher as a raw key ("x'<key><salt>'"). Empty when the file has no salt to
// read (then the password is given as it is).
std::optional<std::string> rawKeyFor(const std::string& file, const std::string& password);

// The file format is SQLCipher 3's (PBKDF2-HMAC-SHA1 with 64000 rounds, HMAC-SHA1, 1024-byte
// pages) whatever SQLCipher the program runs on. What a connection states right after its key,
// decided from the text of "PRAGMA cipher_version": the 3.x settings one by one on 3.x,
// "cipher_compatibility = 3" from 4.x on. The cached raw key is derived the 3.x way, so it is
// used only when the settings are pinned. A library that is not SQLCipher (empty version text) or
// an older one cannot open the file: supported is false.
struct CipherSettings {
    bool supported = false;
    std::vector<std::string> pragmas;
    bool rawKeyFits = false;
};
CipherSettings cipherSettingsFor(std::string_view cipherVersion);

}  // namespace store
