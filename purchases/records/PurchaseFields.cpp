#include "purchases/records/PurchaseFields.h"

#include <algorithm>

namespace purchases {

bool PurchaseFields::allEmpty() const noexcept {
    return std::all_of(texts.begin(), texts.end(), [](const std::string& t) { return t.empty(); });
}

std::array<std::string, kFieldCount> blankEntryTexts() {
    std::array<std::string, kFieldCount> texts;
    texts[kPriceField] = "0";
    texts[kQuantityField] = "0";
    return texts;
}

}  // namespace purchases
