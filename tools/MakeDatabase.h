#pragma once

#include <string>

namespace tools {

// Makes a new data.mdb at path with the five empty tables, keyed with the program's password;
// with demo, fills it with a small shop's purchases, sales and company profile. Refuses a path
// that exists. The file is written under a temporary name beside path and renamed at the end,
// so a failure leaves nothing behind.
void makeDatabase(const std::string& path, bool demo);

}  // namespace tools
