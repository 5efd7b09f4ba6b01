#include "reports/engine/QueryCursor.h"

#include <stdexcept>

#include "store/Error.h"
#include "store/Query.h"
#include "store/Values.h"

namespace reports {

void QueryCursor::setDisplayFormat(const QString& field, const QString& format) {
    if (format != QStringLiteral("#0.##")) {
        throw std::invalid_argument("unsupported display format: " + format.toStdString());
    }
    twoDecimalFields_.insert(field, true);
}

void QueryCursor::first() { query_.first(); }

void QueryCursor::next() { query_.next(); }

bool QueryCursor::eof() const { return !query_.isOpen() || query_.eof(); }

int QueryCursor::recordCount() const { return query_.isOpen() ? query_.recordCount() : 0; }

QString QueryCursor::displayText(const QString& field) const {
    if (!query_.isOpen() || query_.currentIndex() < 0) return {};
    const std::string name = field.toStdString();
    if (!query_.hasField(name)) return {};
    try {
        std::string text = query_.fieldText(name);
        if (twoDecimalFields_.contains(field)) text = store::values::displayText(text);
        return QString::fromStdString(text);
    } catch (const store::StoreError&) {
        return {};  // a value that cannot be read prints as empty text
    }
}

}  // namespace reports
