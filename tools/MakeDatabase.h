#pragma once

#include <string>

namespace tools {

// Makes a new data.mdb at path with the five empty tables and the ones later versions added,
// at this program's schema version; keyed with the program's password;
// with demo, fills it with a small shop's purchases, sales and company profile. Refuses a path
// that exists. The file is written under a free temporary name beside path and given its name at
// the end by a rename that cannot replace, so a failure leaves nothing behind and a file that
// appears at path meanwhile is kept.
void makeDatabase(const std::string& path, bool demo);

}  // namespace tools
