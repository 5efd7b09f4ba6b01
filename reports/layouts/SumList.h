#pragma once

#include <string>
#include <vector>

#include "store/Query.h"
#include "store/Values.h"

namespace reports::layouts {

// The totals of a report's data set: one sum per listed field, computed afresh over every row
// whenever the data set is opened. Each non-empty value adds value × 10000 to its count of
// ten-thousandths, rounded to the nearest whole count.
class SumList : public store::QueryObserver {
  public:
    SumList(store::Query& dataSet, std::vector<std::string> fields);
    ~SumList() override;
    SumList(const SumList&) = delete;
    SumList& operator=(const SumList&) = delete;

    void recompute();  // all sums over all rows; zero while the data set is closed
    const std::vector<std::string>& fields() const { return fields_; }
    const std::vector<store::values::Total>& totals() const { return totals_; }

    void queryOpened(store::Query&) override { recompute(); }
    void queryDestroyed(store::Query&) override { dataSet_ = nullptr; }

  private:
    store::Query* dataSet_;
    std::vector<std::string> fields_;
    std::vector<store::values::Total> totals_;
};

}  // namespace reports::layouts
