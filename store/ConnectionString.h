#pragma once

#include <string>
#include <utility>
#include <vector>

namespace store {

inline constexpr const char* kDatabaseFileName = "data.mdb";
inline constexpr const char* kDatabasePassword = "583019264750";

// A connection string: key=value settings separated by semicolons, values optionally enclosed in
// double quotes.
struct ConnectionSettings {
    std::vector<std::pair<std::string, std::string>> settings;  // in their order, unquoted values
    const std::string* find(const std::string& key) const;      // keys compare case-insensitively
};

ConnectionSettings parseConnectionString(const std::string& text);

// The string every window builds before it re-reads its table: the fixed prefix, the directory
// (without a trailing separator), "/data.mdb" and the fixed suffix. A folder whose name holds a
// semicolon has its Data Source value enclosed in double quotes.
std::string buildConnectionString(const std::string& directory);
std::string buildConnectionStringForCurrentDirectory();

// The stored string of a window's first connection (relative "data.mdb", password unquoted).
const std::string& initialConnectionString();

// The database file and the key a connection string names. A relative Data Source is taken
// from the current directory. Throws StoreError when a setting is missing.
struct ConnectionTarget {
    std::string file;
    std::string password;
};
ConnectionTarget connectionTarget(const std::string& connectionString);

}  // namespace store
