#include "reports/engine/QueryCursor.h"

#include <stdexcept>

#include "store/Error.h"
#include "store/Query.h"
#include "store/Values.h"

namespace reports {

QueryCursor::QueryCursor(store::Query& query) : query_(query) { query_.addObserver(this); }

QueryCursor::~QueryCursor() {
    if (!gone_) query_.removeObserver(this);
}

void QueryCursor::clearDisplayFormats() {
    twoDecimalFields_.clear();
    for (Column& c : columns_) c.known = false;
}

int QueryCursor::fieldNumber(const QString& field) { return numberOf(field); }

int QueryCursor::numberOf(const QString& field) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name == field) return int(i);
    columns_.push_back({field});
    return int(columns_.size() - 1);
}

const QueryCursor::Column& QueryCursor::column(int number) const {
    Column& c = columns_[std::size_t(number)];
    if (!c.known) {
        c.index = query_.fieldIndex(c.name.toStdString());
        c.twoDecimals = twoDecimalFields_.contains(c.name);
        c.known = true;
    }
    return c;
}

void QueryCursor::setDisplayFormat(const QString& field, const QString& format) {
    if (format != QStringLiteral("#0.##")) {
        throw std::invalid_argument("unsupported display format: " + format.toStdString());
    }
    twoDecimalFields_.insert(field, true);
    for (Column& c : columns_) c.known = false;
}

void QueryCursor::first() { query_.first(); }

void QueryCursor::next() { query_.next(); }

bool QueryCursor::eof() const { return !query_.isOpen() || query_.eof(); }

int QueryCursor::recordCount() const { return query_.isOpen() ? query_.recordCount() : 0; }

QString QueryCursor::displayText(const QString& field) const {
    return displayText(numberOf(field));
}

QString QueryCursor::displayText(int fieldNumber) const {
    if (fieldNumber < 0 || std::size_t(fieldNumber) >= columns_.size()) return {};
    if (!query_.isOpen() || query_.currentIndex() < 0) return {};
    const Column& c = column(fieldNumber);
    if (c.index < 0) return {};
    // The edit buffer while the row is being edited.
    const std::string_view text = query_.fieldTextAt(query_.currentIndex(), c.index);
    if (c.twoDecimals) return QString::fromStdString(store::values::displayText(text));
    if (query_.fields()[std::size_t(c.index)].type == store::FieldType::Double)
        return QString::fromStdString(store::values::plainDecimalText(text));
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace reports
