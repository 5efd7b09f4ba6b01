#include "sales/records/SaleDate.h"

namespace sales {

std::string saleDateText(const QDate& date, const QTime& time) {
    // Date and time are written apart: a local time that a clock change skips is still stored.
    return (date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
            time.toString(QStringLiteral("HH:mm:ss")))
        .toStdString();
}

}  // namespace sales
