#pragma once

#include <string>

namespace store {
struct ServerSettings;
}

namespace tools {

// Makes a new data.mdb at path with the five empty tables and the ones later versions added,
// at this program's schema version; keyed with the program's password;
// with demo, fills it with a small shop's purchases, sales and company profile. Refuses a path
// that exists. The file is written under a free temporary name beside path and given its name at
// the end by a rename that cannot replace, so a failure leaves nothing behind and a file that
// appears at path meanwhile is kept.
void makeDatabase(const std::string& path, bool demo);

// The same tables, empty or with the demo shop, in the server's database, in one transaction.
// Refuses a database that holds any of the program's tables already. What was made, for the
// user.
std::string makeServerDatabase(const store::ServerSettings& server, bool demo);

// Copies the shop's data.mdb file into the server's database, which must hold none of the
// program's tables: every table of this version is made and the file's rows copied into them in
// one transaction, their row counts and number sums checked before it commits. What was copied,
// table by table with its rows, for the user.
std::string copyToServer(const std::string& file, const store::ServerSettings& server);

}  // namespace tools
