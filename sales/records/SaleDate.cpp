#include "sales/records/SaleDate.h"

namespace sales {

namespace {

QString longTimeFormatWithoutZone(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    // "t" (and "tt", "ttt", "tttt") name the time zone; quoted text is kept.
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) continue;
        out += c;
    }
    return out.trimmed();
}

}  // namespace

std::string saleDateText(const QDate& date, const QTime& time, const QLocale& locale) {
    QString text = locale.toString(date, QLocale::ShortFormat);
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text += QLatin1Char(' ') + locale.toString(time, longTimeFormatWithoutZone(locale));
    return text.toStdString();
}

}  // namespace sales
