#pragma once

#include "reports/engine/DataCursor.h"

namespace store {
class Query;
}

namespace reports::layouts {

// The company heading's view of the company query: the texts of its current row, read at the
// moment a report prints them. The report never moves that query; with no query, a closed one or
// no row, every text is empty.
class CompanyRow : public DataCursor {
  public:
    void setQuery(const store::Query* query) { query_ = query; }

    void first() override {}
    void next() override {}
    bool eof() const override;
    int recordCount() const override { return eof() ? 0 : 1; }
    QString displayText(const QString& field) const override;

  private:
    const store::Query* query_ = nullptr;
};

}  // namespace reports::layouts
