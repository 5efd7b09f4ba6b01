#pragma once

#include <optional>
#include <string>

namespace store {

// SQLCipher turns a password into the file key with 64000 rounds of PBKDF2, tens of
// milliseconds on every opening, and every window reconnects often. The key depends only on the
// password and the salt at the head of the file, so it is derived once per file and process and
// then given to SQLCipher as a raw key ("x'<key><salt>'"). Empty when the file has no salt to
// read (then the password is given as it is).
std::optional<std::string> rawKeyFor(const std::string& file, const std::string& password);

}  // namespace store
