#include "importing/readers/CellText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace importing::celltext {

std::string numberText(double value) {
    if (!std::isfinite(value)) return {};
    if (value == 0) return "0";  // also -0
    // The longest fixed form of a double: 309 integer digits, or 17 significant digits after
    // 323 zeros.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

std::string numberText(std::string_view written) {
    double value = 0;
    std::string_view digits = written;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() || digits.empty())
        return std::string(written);
    return numberText(value);
}

namespace {

// The civil date of a count of days since 1970-01-01 (Howard Hinnant's days_from_civil, inverted).
void civilFromDays(long long days, int& year, unsigned& month, unsigned& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<int>(yearOfEra + era * 400) + (month <= 2 ? 1 : 0);
}

}  // namespace

std::string serialDate(double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0 || serial > 3e6) return {};
    auto whole = static_cast<long long>(std::floor(serial));
    // Days from 1970-01-01 of day 0 of each system: 1899-12-31 for 1900 (whose serial 60 is the
    // 29th of February 1900 that never was, so that later days count one more), 1904-01-01.
    long long days = 0;
    if (date1904) {
        days = whole - 24107;
    } else {
        if (whole == 60) return "1900-02-29";
        if (whole > 60) --whole;
        days = whole - 25568;
    }
    int year = 0;
    unsigned month = 0, day = 0;
    civilFromDays(days, year, month, day);
    if (year < 1900 || year > 9999) return {};
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02u", year, month, day);
    return text.data();
}

std::string serialTime(double serial) {
    if (!std::isfinite(serial)) return {};
    const double fraction = serial - std::floor(serial);
    auto seconds = static_cast<long long>(std::llround(fraction * 86400.0)) % 86400;
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%02lld:%02lld:%02lld", seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
    return text.data();
}

FormatKind formatKind(std::string_view code) {
    bool date = false, time = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {  // a quoted text
            const std::size_t end = code.find('"', i + 1);
            if (end == std::string_view::npos) break;
            i = end;
        } else if (c == '[') {  // a colour, a condition, a locale; [h] [mm] [ss] are times
            const std::size_t end = code.find(']', i + 1);
            if (end == std::string_view::npos) break;
            const std::string_view inside = code.substr(i + 1, end - i - 1);
            if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos)
                time = true;
            i = end;
        } else if (c == '\\' || c == '_' || c == '*') {  // the next character stands for itself
            ++i;
        } else if (c == ';') {
            break;  // the first section decides for positive numbers and dates
        } else {
            if (code.substr(i, 7) == "General" || code.substr(i, 7) == "GENERAL" ||
                code.substr(i, 7) == "general") {
                i += 6;
            } else if (c == 'y' || c == 'Y' || c == 'd' || c == 'D') {
                date = true;
            } else if (c == 'h' || c == 'H' || c == 's' || c == 'S' || c == 'm' || c == 'M') {
                time = true;  // m is a month or a minute: either way a point in time
            }
        }
    }
    if (date) return FormatKind::Date;
    return time ? FormatKind::Time : FormatKind::Number;
}

FormatKind builtinFormatKind(int id) {
    if ((id >= 14 && id <= 17) || id == 22) return FormatKind::Date;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47)) return FormatKind::Time;
    // The Chinese editions' own formats: 年月日 dates, 时分秒 times.
    if ((id >= 32 && id <= 35) || id == 55 || id == 56) return FormatKind::Time;
    if ((id >= 27 && id <= 36) || (id >= 50 && id <= 58)) return FormatKind::Date;
    return FormatKind::Number;
}

}  // namespace importing::celltext
