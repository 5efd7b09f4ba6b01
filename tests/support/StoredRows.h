#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

using Row = std::map<std::string, std::string>;  // column -> text

// The rows of a table of data.mdb in the current directory as the file holds them, read through
// a connection of their own as another window would. NULL reads as nullText: empty by default,
// or a marker of the test's choosing where a NULL must differ from an empty text.
std::vector<Row> storedRows(const std::string& table, std::string_view nullText = {});

// Appends rows to such a table through a connection of their own, in one transaction; columns
// not given stay empty. Returns the new rows' IDs (empty texts in a table without them).
std::vector<std::string> appendRows(const std::string& table, const std::vector<Row>& rows);

}  // namespace testsupport
