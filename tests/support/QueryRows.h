#pragma once

#include <string>
#include <vector>

namespace store {
class Query;
}

namespace testsupport {

// The goods codes (商品编码) of the query's rows, in the order it holds them.
std::vector<std::string> codes(const store::Query& query);

}  // namespace testsupport
