#pragma once

#include <QHash>
#include <QString>

#include "reports/engine/DataCursor.h"

namespace store {
class Query;
}

namespace reports {

// A report's view of a store query. Fields given the display format "#0.##" print with at most
// two decimals; every other field prints its stored text (numbers in their shortest form).
class QueryCursor : public DataCursor {
  public:
    explicit QueryCursor(store::Query& query) : query_(query) {}

    // Only "#0.##" is known; any other format is refused with std::invalid_argument.
    void setDisplayFormat(const QString& field, const QString& format);
    void clearDisplayFormats() { twoDecimalFields_.clear(); }

    store::Query& query() const { return query_; }

    void first() override;
    void next() override;
    bool eof() const override;
    int recordCount() const override;
    QString displayText(const QString& field) const override;

  private:
    store::Query& query_;
    QHash<QString, bool> twoDecimalFields_;
};

}  // namespace reports
