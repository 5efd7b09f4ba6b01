#pragma once

#include <QDate>
#include <QString>

#include "store/Values.h"

namespace reports::layouts {

// The print date of the summary band: the date in the system's short date format.
QString printDateText(const QDate& date);

// A total as the summary band prints it: the number's general text (shortest form, at most 15
// significant digits), read back and rounded to two decimals (an exact half to the even
// neighbour), again in its general text. 1234.5 prints as 1234.5, 12.3456 as 12.35,
// 2.675 as 2.67 (its double lies just below), 0 as 0. A total too long for 15 significant digits
// is rounded to two decimals on its exact count instead, so no digit of it is lost.
QString totalText(store::values::Total total);

// The second step alone: a caption read as a number and rounded to two decimals; a caption that
// is not a number stays as it is.
QString roundedToCents(const QString& caption);

}  // namespace reports::layouts
