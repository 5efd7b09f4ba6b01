#pragma once

#include <QDate>
#include <QLocale>
#include <QTime>
#include <string>

namespace sales {

// The text stored in 销售日期: the date in the locale's short date format, then a blank and the
// time of day in its long time format; the blank and the time are left out at midnight sharp.
// The time zone that some long formats name is left out: the sale's moment is local.
std::string saleDateText(const QDate& date, const QTime& time,
                         const QLocale& locale = QLocale::system());

}  // namespace sales
