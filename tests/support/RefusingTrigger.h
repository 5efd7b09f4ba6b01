#pragma once

#include <string>

#include "tests/support/TestDatabase.h"

namespace testsupport {

// Makes the data refuse the event ("INSERT", "UPDATE" or "DELETE") on table's rows while
// condition holds, failing the statement with message, as a rule kept in the data itself would.
// condition is SQL both engines read: it may name the row's old values as old.column and other
// tables the test made.
void addRefusingTrigger(const TestDatabase& db, const std::string& name, const std::string& table,
                        const std::string& event, const std::string& condition,
                        const std::string& message);

}  // namespace testsupport
