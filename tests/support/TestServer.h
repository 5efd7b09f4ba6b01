#pragma once

#include <string>

#include "store/ServerSettings.h"

namespace testsupport {

// Whether this run keeps the tests' data on the PostgreSQL cluster the PG* variables name
// (JXC_TEST_SERVER=1) instead of in data.mdb files. Tests about files skip themselves there.
bool onServer();

// The cluster as the PG* variables name it, with the given database.
store::ServerSettings serverSettings(const std::string& database);

// Makes a database of the cluster as a copy of another one (template0: an empty one in UTF-8);
// throws std::runtime_error with the server's message.
void createServerDatabase(const std::string& name, const std::string& templateName);
// Drops the database, ending the connections still open on it.
void dropServerDatabase(const std::string& name) noexcept;

// Runs the server's own SQL on the database, not read as the program's; throws
// std::runtime_error with the server's message.
void execOnServer(const std::string& database, const std::string& sql);

}  // namespace testsupport
