#include "store/PlainNumber.h"

#include <cctype>
#include <charconv>

namespace store::values {

namespace {

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

std::string plainDecimalText(std::string_view text) {
    const std::size_t e = text.find_first_of("Ee");
    if (e == std::string_view::npos) return std::string(text);

    std::string_view mantissa = text.substr(0, e);
    std::string_view exponentText = text.substr(e + 1);
    const bool negative = !mantissa.empty() && mantissa.front() == '-';
    if (negative || (!mantissa.empty() && mantissa.front() == '+')) mantissa.remove_prefix(1);
    if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);

    const std::size_t point = mantissa.find('.');
    const std::string_view integerPart = mantissa.substr(0, point);
    const std::string_view fractionPart =
        point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
    int exponent = 0;
    const char* end = exponentText.data() + exponentText.size();
    const auto [stop, error] = std::from_chars(exponentText.data(), end, exponent);
    const bool wellFormed = error == std::errc() && stop == end && allDigits(integerPart) &&
                            (fractionPart.empty() || allDigits(fractionPart)) && exponent > -400 &&
                            exponent < 400;
    if (!wellFormed) return std::string(text);

    std::string digits = std::string(integerPart) + std::string(fractionPart);
    // Where the decimal point falls within digits once the exponent is applied.
    long pointAt = static_cast<long>(integerPart.size()) + exponent;
    if (pointAt <= 0) {
        digits.insert(0, static_cast<std::size_t>(1 - pointAt), '0');
        pointAt = 1;
    } else if (pointAt > static_cast<long>(digits.size())) {
        digits.append(static_cast<std::size_t>(pointAt) - digits.size(), '0');
    }
    std::string whole = digits.substr(0, static_cast<std::size_t>(pointAt));
    std::string fraction = digits.substr(static_cast<std::size_t>(pointAt));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();

    const bool zero = whole == "0" && fraction.empty();
    std::string result = negative && !zero ? "-" : "";
    result += whole;
    if (!fraction.empty()) result += "." + fraction;
    return result;
}

}  // namespace store::values
