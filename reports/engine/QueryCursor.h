#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "reports/engine/DataCursor.h"
#include "store/Query.h"

namespace reports {

// A report's view of a store query. Fields given the display format "#0.##" print with at most
// two decimals; every other field prints its stored text (numbers in their shortest form).
class QueryCursor : public DataCursor, private store::QueryObserver {
  public:
    explicit QueryCursor(store::Query& query);
    ~QueryCursor() override;
    QueryCursor(const QueryCursor&) = delete;
    QueryCursor& operator=(const QueryCursor&) = delete;

    // Only "#0.##" is known; any other format is refused with std::invalid_argument.
    void setDisplayFormat(const QString& field, const QString& format);
    void clearDisplayFormats();

    store::Query& query() const { return query_; }

    void first() override;
    void next() override;
    bool eof() const override;
    int recordCount() const override;
    QString displayText(const QString& field) const override;
    int fieldNumber(const QString& field) override;
    QString displayText(int fieldNumber) const override;

  private:
    struct Column {
        QString name;
        int index = -1;  // -1: the data set lacks the field
        bool twoDecimals = false;
        bool known = false;  // looked up since the query was last opened
    };
    int numberOf(const QString& field) const;
    const Column& column(int number) const;
    void queryOpened(store::Query&) override {
        for (Column& c : columns_) c.known = false;
    }
    void queryDestroyed(store::Query&) override { gone_ = true; }

    store::Query& query_;
    bool gone_ = false;
    QHash<QString, bool> twoDecimalFields_;
    mutable std::vector<Column> columns_;  // by field number
};

}  // namespace reports
