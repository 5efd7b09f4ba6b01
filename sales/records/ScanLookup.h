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
// ends left out on both sides; an empty code is unknown). A row has stock when its stock, rounded
// to two decimals as the sale panel shows it, is above 0; a stock that is not a number counts as
// none. Of several rows with stock, the oldest (lowest ID) with at least the one unit a scan
// sells is taken, first in, first out; when none has a whole unit, the oldest with stock (the
// sale panel then tells that the stock is short, as it does for a typed quantity).
ScanMatch findGoodsByCode(const store::Query& goods, std::string_view code);

}  // namespace sales
