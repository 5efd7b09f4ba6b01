#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How values pass as text between the windows and the tables.
namespace store {
class Decimal;
}

namespace store::values {

// Parses a decimal number with "." as the decimal point (optional sign, digits, optional point,
// optional exponent; surrounding blanks allowed). Empty optional when the text is not a number.
std::optional<double> parseNumber(std::string_view text);

// Converts text to a number or throws StoreError "'%s' is not a valid floating point value".
double toNumber(std::string_view text);

// The shortest decimal form with at most 15 significant digits: 12.5, 3, 0.1, never 3.00.
std::string formatNumber(double value);
std::string formatNumber(long double value);
// Whether text is already formatNumber's form of the double it reads as, so that a number read as
// such text need not be converted twice: a plain decimal without an exponent, at most 15
// significant digits, no leading zero before them, no trailing zero after a decimal point, and
// not zero.
bool isFormattedNumber(std::string_view text) noexcept;

// price × quantity: both texts read as exact decimals (store/Decimal.h), multiplied exactly, the
// product turned into the shortest text with at most 15 significant digits. Throws on a text that
// is not a number.
std::string productText(std::string_view a, std::string_view b);
// The same for a product the program stores: a product beyond what a number column accepts is
// refused with a message naming the two fields the user typed (fieldA, fieldB).
std::string productText(std::string_view a, std::string_view b, std::string_view fieldA,
                        std::string_view fieldB);

// The largest magnitude a number column accepts. Totals are counts of ten-thousandths in 128
// bits, so a total of 2^31 rows of such numbers is still exact.
inline constexpr double kLargestNumber = 1e24;
bool isAcceptedNumber(double value) noexcept;  // finite and at most kLargestNumber in magnitude
bool isAcceptedNumber(const Decimal& value);   // the same for the value as it is stored
// Throws the message for a number a column does not accept, naming the field.
[[noreturn]] void refuseNumber(std::string_view text, std::string_view field);

// The display format "#0.##": at least one digit before the point, at most two after it,
// trailing zeros and a bare point dropped, no thousands separator. Empty text stays empty. The
// number rounded (half away from zero) is the value of its stored text: 2.675 shows 2.68.
std::string formatDisplay(double value);
std::string displayText(std::string_view storedText);
// A number's text as plain decimals: the exponent form that very small or very large values take
// ("5E-5", "1.5E+20") written out digit for digit ("0.00005", "150000000000000000000"); any other
// text, numbers without an exponent included, comes back as it is. Nothing is rounded.
std::string plainDecimalText(std::string_view text);

// The entry panels' two-decimal reduction: format "0.00" (the text's exact value rounded half
// away from zero), back to a number, shortest text. Throws on a text that is not a number (an
// empty text included).
std::string roundTo2Text(std::string_view text);

// Running totals held as whole counts of ten-thousandths. Every total of the program (list
// footers, report sums) is a Total: 128 bits, exact for every number the store accepts. A sum
// that would leave the range (only numbers the store never accepted can get there) throws.
__extension__ typedef __int128 Total;
Total addTenThousandths(Total total, double value);  // nearest, halves to even
Total toTenThousandths(double value);                // nearest, halves to even
std::string tenThousandthsText(Total total);         // shortest form of total/10000
std::string tenThousandthsDisplay(Total total);      // "#0.##" of total/10000

// Number of Unicode characters of a UTF-8 text.
std::size_t characterCount(std::string_view utf8);

// text without the blanks at its ends: ASCII white space and the full-width space U+3000.
std::string_view trimBlanks(std::string_view text);

}  // namespace store::values
