#pragma once

#include "tests/support/TestDatabase.h"

namespace testsupport {

// A database whose goods table holds rows generated rows, made once per row count for the whole
// process (benchmarks measure the same files again and again). The current directory stays.
const TestDatabase& goodsDatabase(int rows);

// A shop file with goods rows in 表1 and sales rows in 表3, made once per pair of counts for the
// whole process, like goodsDatabase.
const TestDatabase& shopDatabase(int goods, int sales);

}  // namespace testsupport
