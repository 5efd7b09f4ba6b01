#pragma once

#include <QString>
#include <optional>

#include "store/ServerSettings.h"

// Where the program keeps its data: the group [数据库] of the settings file of the automatic
// copies. Without it (or with 类型=sqlcipher) the data is data.mdb in the current directory, as
// always; with 类型=postgresql it is a database on a PostgreSQL server, named by host, port,
// database, user and sslmode. The password is never read from this file: libpq takes it from
// ~/.pgpass or PGPASSWORD.
namespace autobackup {

// The server the settings file names; none for data.mdb. Reads only, never writes the file. A
// setting that cannot be used throws std::runtime_error with a message naming the file and the
// key: an unknown 类型, a server without a database name, a port that is no port number, an
// unknown sslmode, a password written into the file, or server keys without 类型=postgresql.
std::optional<store::ServerSettings> readServerSettings(const QString& settingsFile);

}  // namespace autobackup
