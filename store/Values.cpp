#include "store/Values.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "store/Decimal.h"
#include "store/Error.h"

namespace store::values {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// True when text is sign, digits, optional point and digits (at least one digit in all), and an
// optional exponent.
bool hasNumberShape(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < text.size() && isDigit(text[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == text.size();
}

// Exponent forms like "1e-05" become "1E-5".
std::string tidyExponent(std::string text) {
    auto e = text.find('e');
    if (e == std::string::npos) return text;
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    std::string sign;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        if (exponent[0] == '-') sign = "-";
        exponent.erase(0, 1);
    }
    while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
    return mantissa + "E" + sign + exponent;
}

// The largest 15-digit number that is not above the largest double. The doubles above it would
// round up to 1.79769313486232E308, a text no double can hold: they are written rounded toward
// zero instead, so that the text of every finite double reads back as a number.
constexpr double kLargest15Digits = 1.79769313486231e308;

template <typename T>
std::string shortest15(T value) {
    if (value == 0) return "0";  // negative zero included
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    if (std::fabs(value) > kLargest15Digits &&
        std::fabs(value) <= std::numeric_limits<double>::max())
        return value < 0 ? "-1.79769313486231E308" : "1.79769313486231E308";
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return tidyExponent(std::string(buffer, result.ptr));
}

struct Rounded {
    bool negative = false;
    std::string digits;  // no leading zeros; "0" when the rounded value is zero
};

// Formats a whole number of 10^-decimals units with at least one integer digit; trailing zeros
// of the fraction dropped unless keepZeros.
std::string placeDecimalPoint(const Rounded& r, int decimals, bool keepZeros) {
    std::string digits = r.digits;
    auto d = static_cast<std::size_t>(decimals);
    if (digits.size() <= d) digits.insert(0, d + 1 - digits.size(), '0');
    std::string integer = digits.substr(0, digits.size() - d);
    std::string fraction = digits.substr(digits.size() - d);
    if (!keepZeros) {
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    }
    std::string text = r.negative ? "-" : "";
    text += integer;
    if (!fraction.empty()) text += "." + fraction;
    return text;
}

__extension__ typedef unsigned __int128 Magnitude;

// The magnitude as unsigned so that the smallest value does not overflow.
Magnitude magnitudeOf(Total total) {
    return total < 0 ? ~static_cast<Magnitude>(total) + 1 : static_cast<Magnitude>(total);
}

std::string decimalDigits(Magnitude value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

std::string fromWhole(Total total, int decimals, bool keepZeros) {
    Rounded r;
    r.negative = total < 0;
    r.digits = decimalDigits(magnitudeOf(total));
    return placeDecimalPoint(r, decimals, keepZeros);
}

[[noreturn]] void totalOutOfRange() { throw StoreError("合计超出了可以计算的范围"); }

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
    text = trimmed(text);
    if (!hasNumberShape(text)) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a number this program can hold.
        std::size_t e = text.find_first_of("eE");
        if (e != std::string_view::npos && text.find('-', e) != std::string_view::npos) return 0.0;
        return std::nullopt;
    }
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    if (value == 0) value = 0;  // no negative zero
    return value;
}

double toNumber(std::string_view text) {
    auto value = parseNumber(text);
    if (!value) {
        std::string out = "'" + std::string(text) + "' is not a valid floating point value";
        throw StoreError(out);
    }
    return *value;
}

std::string formatNumber(double value) { return shortest15(value); }

std::string formatNumber(long double value) { return shortest15(value); }

bool isFormattedNumber(std::string_view text) noexcept {
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t integerStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    const std::size_t integerDigits = i - integerStart;
    // "0.5" but neither "05" nor ".5" nor "-"
    if (integerDigits == 0 || (integerDigits > 1 && text[integerStart] == '0')) return false;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        fractionDigits = i - fractionStart;
        if (fractionDigits == 0 || text[i - 1] == '0') return false;
    }
    if (i != text.size()) return false;  // an exponent, or anything else
    const std::string_view digits = text.substr(integerStart);
    const std::size_t first = digits.find_first_of("123456789");
    if (first == std::string_view::npos) return false;  // zero: "0", never "-0"
    // Significant digits: from the first nonzero one to the end, the point not counted.
    const std::size_t significant =
        digits.size() - first - (fractionDigits > 0 && first < integerDigits ? 1 : 0);
    // Fixed notation ends at 15 integer digits; below 0.0001 formatNumber writes an exponent.
    if (significant > 15 || integerDigits > 15) return false;
    return integerDigits > 1 || text[integerStart] != '0' || first <= 5;
}

std::string productText(std::string_view a, std::string_view b) {
    return (Decimal::read(a) * Decimal::read(b)).text();
}

std::string productText(std::string_view a, std::string_view b, std::string_view fieldA,
                        std::string_view fieldB) {
    const Decimal product = Decimal::read(a) * Decimal::read(b);
    if (!isAcceptedNumber(product))
        throw StoreError("“" + std::string(fieldA) + "”乘“" + std::string(fieldB) +
                         "”的积太大（绝对值不能大于 " + formatNumber(kLargestNumber) +
                         "），请检查输入的“" + std::string(fieldA) + "”和“" + std::string(fieldB) +
                         "”");
    return product.text();
}

bool isAcceptedNumber(double value) noexcept {
    return std::isfinite(value) && std::fabs(value) <= kLargestNumber;
}

bool isAcceptedNumber(const Decimal& value) {
    static const Decimal largest = Decimal::ofStored(kLargestNumber);
    const Decimal stored = value.roundedToSignificant(15);
    return stored <= largest && stored >= -largest;
}

void refuseNumber(std::string_view text, std::string_view field) {
    throw StoreError("字段“" + std::string(field) + "”的值“" + std::string(text) +
                     "”太大：数值的绝对值不能大于 " + formatNumber(kLargestNumber));
}

std::string formatDisplay(double value) {
    if (!std::isfinite(value)) return "0";
    return Decimal::ofStored(value).roundedToDecimals(2).plainText();
}

std::string displayText(std::string_view storedText) {
    if (storedText.empty()) return {};
    const std::optional<Decimal> value = Decimal::parse(storedText);
    if (!value) return std::string(storedText);
    return value->roundedToDecimals(2).plainText();
}

std::string plainDecimalText(std::string_view text) {
    if (text.find_first_of("Ee") == std::string_view::npos) return std::string(text);
    const std::optional<Decimal> value = Decimal::parse(text);
    return value ? value->plainText() : std::string(text);
}

std::string roundTo2Text(std::string_view text) {
    return Decimal::read(text).roundedToDecimals(2).text();
}

Total addTenThousandths(Total total, double value) {
    // value × 10000 is exact in extended precision (53 + 10 significant bits), and so are its
    // whole part and its fraction; the sum is rounded as a whole, halves to the even result.
    const long double scaled = static_cast<long double>(value) * 10000.0L;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 0x1p126L) totalOutOfRange();
    const long double whole = std::floor(scaled);
    const long double fraction = scaled - whole;
    Total sum = 0;
    if (__builtin_add_overflow(total, static_cast<Total>(whole), &sum)) totalOutOfRange();
    const bool up = fraction > 0.5L || (fraction == 0.5L && (sum & 1) != 0);
    if (up && __builtin_add_overflow(sum, Total{1}, &sum)) totalOutOfRange();
    return sum;
}

Total toTenThousandths(double value) { return addTenThousandths(0, value); }

std::string tenThousandthsText(Total total) { return fromWhole(total, 4, false); }

std::string tenThousandthsDisplay(Total total) {
    bool negative = total < 0;
    Magnitude magnitude = magnitudeOf(total);
    Magnitude hundredths = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    Rounded r;
    r.digits = decimalDigits(hundredths);
    r.negative = negative && hundredths != 0;
    return placeDecimalPoint(r, 2, false);
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

std::string_view trimBlanks(std::string_view text) {
    static constexpr std::string_view kWideSpace = "\xE3\x80\x80";
    static constexpr std::string_view kAsciiBlanks = " \t\r\n\v\f";
    // The length of the blank at the start (or the end) of text, 0 when there is none.
    const auto blank = [&text](bool atStart) -> std::size_t {
        if (text.empty()) return 0;
        if (kAsciiBlanks.find(atStart ? text.front() : text.back()) != text.npos) return 1;
        const bool wide = atStart ? text.starts_with(kWideSpace) : text.ends_with(kWideSpace);
        return wide ? kWideSpace.size() : 0;
    };
    while (const std::size_t n = blank(true)) text.remove_prefix(n);
    while (const std::size_t n = blank(false)) text.remove_suffix(n);
    return text;
}

}  // namespace store::values
