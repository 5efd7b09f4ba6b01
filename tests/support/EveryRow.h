#pragma once

#include <string>
#include <vector>

namespace store {
class Database;
}

namespace testsupport {

// Every row of every table of the program that db holds, in table order and each table's rows in
// the order they were stored, as one line each: the table's name, then each column's value in
// the form the store keeps it (the shortest text of a number, "∅" for NULL), separated by "|".
// Two databases hold the same rows exactly when their lines are equal.
std::vector<std::string> everyRow(const store::Database& db);

// Beside the demo shop, rows a copy must keep as they are: a gap in the goods IDs (row 3 deleted),
// rows in the added tables with NULLs, texts that look like SQL, and rows of a table without a
// counter in an order that is not sorted; and goods rows enough for several of a copy's INSERTs.
void addUnusualRows(store::Database& db);

}  // namespace testsupport
