#include "reports/layouts/SumList.h"

#include <optional>

namespace reports::layouts {

namespace values = store::values;

SumList::SumList(store::Query& dataSet, std::vector<std::string> fields)
    : dataSet_(&dataSet), fields_(std::move(fields)), totals_(fields_.size(), values::Total{}) {
    dataSet_->addObserver(this);
    recompute();
}

SumList::~SumList() {
    if (dataSet_ != nullptr) dataSet_->removeObserver(this);
}

void SumList::recompute() {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        values::Total total{};
        const int column =
            dataSet_ != nullptr && dataSet_->isOpen() ? dataSet_->fieldIndex(fields_[i]) : -1;
        if (column >= 0) {
            const int rows = dataSet_->recordCount();
            for (int row = 0; row < rows; ++row) {
                const std::string_view text = dataSet_->fieldTextAt(row, column);
                if (text.empty()) continue;
                // A value that is not a number adds nothing, as in the lists' footers.
                if (const std::optional<double> number = values::parseNumber(text))
                    total = values::addTenThousandths(total, *number);
            }
        }
        totals_[i] = total;
    }
}

}  // namespace reports::layouts
