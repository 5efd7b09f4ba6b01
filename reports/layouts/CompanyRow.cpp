#include "reports/layouts/CompanyRow.h"

#include "store/Error.h"
#include "store/Query.h"

namespace reports::layouts {

bool CompanyRow::eof() const {
    return query_ == nullptr || !query_->isOpen() || query_->currentIndex() < 0;
}

QString CompanyRow::displayText(const QString& field) const {
    if (eof()) return {};
    const std::string name = field.toStdString();
    if (!query_->hasField(name)) return {};
    try {
        return QString::fromStdString(query_->fieldText(name));
    } catch (const store::StoreError&) {
        return {};
    }
}

}  // namespace reports::layouts
