#pragma once

#include <string>
#include <string_view>

namespace store {
class Query;
}

namespace sales {

// The goods row a scanned code sells from.
struct ScanMatch {
    // Found: row is the goods row to sell from; NoStock: the code names goods rows, none with a
    // unit in stock; Unknown: no goods row has that code.
    enum class Outcome { Found, NoStock, Unknown };
    Outcome outcome = Outcome::Unknown;
    int row = -1;              // Found: the row's index in the goods query
    bool severalRows = false;  // Found: other rows with the code have stock too
    std::string code;          // the code without its blanks
};

// Looks a scanned code up in the goods query's rows by an exact match of 商品编码 (blanks at its
// ends left out on both sides; an empty code is unknown). A scan sells one unit, so a row is
// taken when its stock, rounded to two decimals as the sale panel shows it, is at least 1; of
// several, the oldest (lowest ID): first in, first out. A stock that is not a number counts as
// none.
ScanMatch findGoodsByCode(const store::Query& goods, std::string_view code);

}  // namespace sales
