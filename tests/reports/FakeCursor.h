#pragma once

#include <QHash>
#include <QStringList>
#include <functional>
#include <vector>

#include "reports/engine/DataCursor.h"

// Rows in memory for report tests. onRow runs when a row becomes current (1-based number), so a
// test can look at the world while a report is being produced.
class FakeCursor : public reports::DataCursor {
  public:
    FakeCursor(QStringList fields, std::vector<QStringList> rows) : rows_(std::move(rows)) {
        for (int i = 0; i < fields.size(); ++i) columns_.insert(fields[i], i);
    }

    void first() override { moveTo(0); }
    void next() override { moveTo(current_ + 1); }
    bool eof() const override { return current_ >= int(rows_.size()); }
    int recordCount() const override { return int(rows_.size()); }
    QString displayText(const QString& field) const override {
        const auto column = columns_.find(field);
        if (column == columns_.end() || eof() || current_ < 0) return {};
        return rows_[std::size_t(current_)].value(*column);
    }

    int current() const { return current_; }
    std::function<void(int)> onRow;

  private:
    void moveTo(int index) {
        current_ = index;
        if (onRow && !eof()) onRow(current_ + 1);
    }

    QHash<QString, int> columns_;
    std::vector<QStringList> rows_;
    int current_ = -1;
};

// Rows "R1".."Rn" with a goods name and an amount.
inline std::vector<QStringList> numberedRows(int count) {
    std::vector<QStringList> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back({QStringLiteral("R%1").arg(i), QStringLiteral("商品%1").arg(i % 37),
                        QString::number(i * 1.25)});
    }
    return rows;
}
