#include "reports/layouts/TotalsText.h"

#include <QLocale>
#include <cmath>
#include <optional>
#include <string>

namespace reports::layouts {

namespace values = store::values;

namespace {

int significantDigits(const std::string& decimal) {
    int digits = 0;
    bool leading = true;
    for (char c : decimal) {
        if (c < '0' || c > '9') continue;
        if (leading && c == '0') continue;
        leading = false;
        ++digits;
    }
    return digits;
}

// The count rounded to whole hundredths (an exact half to the even neighbour), in its shortest
// decimal form.
std::string exactCents(values::Total total) {
    const values::Total hundred = 100;
    values::Total cents = total / hundred;
    const values::Total rest = total % hundred;  // carries the sign of total
    const values::Total half = 50;
    const values::Total magnitude = rest < 0 ? -rest : rest;
    const bool odd = cents % 2 != 0;
    if (magnitude > half || (magnitude == half && odd)) cents += rest < 0 ? -1 : 1;
    return values::tenThousandthsText(cents * hundred);
}

}  // namespace

QString printDateText(const QDate& date) { return QLocale().toString(date, QLocale::ShortFormat); }

QString roundedToCents(const QString& caption) {
    const std::optional<double> value = values::parseNumber(caption.toStdString());
    if (!value) return caption;
    // The quotient is formed in extended precision, so a value whose double lies just below a
    // half (2.675) rounds down as it reads, not up by the quotient's own rounding.
    const long double hundredths = std::nearbyintl(static_cast<long double>(*value) / 0.01L);
    const double rounded = static_cast<double>(hundredths) * 0.01;
    return QString::fromStdString(values::formatNumber(rounded));
}

QString totalText(values::Total total) {
    const std::string exact = values::tenThousandthsText(total);
    if (significantDigits(exact) > 15) return QString::fromStdString(exactCents(total));
    // Up to 15 digits the general text of the number is the exact total.
    const std::string general = values::formatNumber(*values::parseNumber(exact));
    return roundedToCents(QString::fromStdString(general));
}

}  // namespace reports::layouts
