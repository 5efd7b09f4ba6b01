#pragma once

#include "tests/support/TestDatabase.h"

namespace testsupport {

// A database whose goods table holds rows generated rows, made once per row count for the whole
// process (benchmarks measure the same files again and again). The current directory stays.
const TestDatabase& goodsDatabase(int rows);

}  // namespace testsupport
