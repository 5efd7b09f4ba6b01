#pragma once

#include "tests/support/TestDatabase.h"

namespace testsupport {

// A database with goods generated goods rows and sales generated sale rows made from them, made
// once per pair of counts for the whole process. Customers are "客户" followed by a number in five
// digits, a thousand of them, each with a telephone and an address. The current directory stays.
const TestDatabase& goodsAndSalesDatabase(int goods, int sales);

}  // namespace testsupport
