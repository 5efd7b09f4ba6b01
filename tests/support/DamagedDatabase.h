#pragma once

#include <string>

namespace testsupport {

// Overwrites the first page of table in the encrypted database file with bytes that are no page
// of it, as a bad sector or a torn write would: the file still opens, but every read of that
// table fails as damaged.
void damageTablePage(const std::string& file, const std::string& table);

}  // namespace testsupport
