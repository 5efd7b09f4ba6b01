#include "store/Decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "store/Values.h"

namespace store {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digit strings below hold a whole number, most significant digit first.

// a + b.
std::string addWhole(const std::string& a, const std::string& b) {
    std::string sum;
    sum.reserve(std::max(a.size(), b.size()) + 1);
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry != 0; ++i) {
        int digit = carry;
        if (i < a.size()) digit += a[a.size() - 1 - i] - '0';
        if (i < b.size()) digit += b[b.size() - 1 - i] - '0';
        sum.push_back(static_cast<char>('0' + digit % 10));
        carry = digit / 10;
    }
    std::reverse(sum.begin(), sum.end());
    return sum;
}

// a − b, for a ≥ b.
std::string subtractWhole(const std::string& a, const std::string& b) {
    std::string difference;
    difference.reserve(a.size());
    int borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        int digit = a[a.size() - 1 - i] - '0' - borrow;
        if (i < b.size()) digit -= b[b.size() - 1 - i] - '0';
        borrow = digit < 0 ? 1 : 0;
        difference.push_back(static_cast<char>('0' + digit + 10 * borrow));
    }
    std::reverse(difference.begin(), difference.end());
    return difference;
}

std::string multiplyWhole(const std::string& a, const std::string& b) {
    std::vector<unsigned long long> columns(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        const unsigned long long x = static_cast<unsigned long long>(a[a.size() - 1 - i] - '0');
        if (x == 0) continue;
        for (std::size_t j = 0; j < b.size(); ++j)
            columns[i + j] += x * static_cast<unsigned long long>(b[b.size() - 1 - j] - '0');
    }
    std::string product;
    product.reserve(columns.size());
    unsigned long long carry = 0;
    for (unsigned long long column : columns) {
        column += carry;
        product.push_back(static_cast<char>('0' + column % 10));
        carry = column / 10;
    }
    while (carry != 0) {
        product.push_back(static_cast<char>('0' + carry % 10));
        carry /= 10;
    }
    std::reverse(product.begin(), product.end());
    return product;
}

// Compares whole numbers without leading zeros.
std::strong_ordering compareWhole(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() <=> b.size();
    const int order = a.compare(b);
    return order <=> 0;
}

// The two numbers' digits over the same power of ten: the smaller exponent of the two.
struct Aligned {
    std::string a;
    std::string b;
    long long exponent;
};

Aligned align(const std::string& a, long long ea, const std::string& b, long long eb) {
    const long long e = std::min(ea, eb);
    return {a + std::string(static_cast<std::size_t>(ea - e), '0'),
            b + std::string(static_cast<std::size_t>(eb - e), '0'), e};
}

// Adds to a saturating exponent, so that an absurdly long exponent text cannot overflow.
long long clampedExponent(long long value) {
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 4;
    return std::clamp(value, -kLimit, kLimit);
}

}  // namespace

Decimal::Decimal(long long whole) {
    negative_ = whole < 0;
    // The magnitude as unsigned, so that the smallest value does not overflow.
    unsigned long long magnitude = negative_ ? 0ULL - static_cast<unsigned long long>(whole)
                                             : static_cast<unsigned long long>(whole);
    digits_ = std::to_string(magnitude);
    normalize();
}

std::optional<Decimal> Decimal::parse(std::string_view text) {
    // The store's own reading decides what is a number and what is out of range.
    const std::optional<double> value = values::parseNumber(text);
    if (!value) return std::nullopt;
    Decimal number;
    if (*value == 0) return number;  // zero, or too small for a double: the store reads zero

    std::size_t i = text.find_first_not_of(" \t\r\n");
    if (text[i] == '+' || text[i] == '-') number.negative_ = text[i++] == '-';
    long long fractionDigits = 0;
    bool inFraction = false;
    for (; i < text.size() && (isDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            inFraction = true;
            continue;
        }
        number.digits_.push_back(text[i]);
        if (inFraction) ++fractionDigits;
    }
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (text[i] == '+' || text[i] == '-') negativeExponent = text[i++] == '-';
        for (; i < text.size() && isDigit(text[i]); ++i)
            exponent = clampedExponent(exponent * 10 + (text[i] - '0'));
        if (negativeExponent) exponent = -exponent;
    }
    number.exponent_ = clampedExponent(exponent - fractionDigits);
    number.normalize();
    return number;
}

Decimal Decimal::read(std::string_view text) {
    std::optional<Decimal> number = parse(text);
    if (!number) values::toNumber(text);  // throws the store's message for the text
    return number.value_or(Decimal());
}

Decimal Decimal::ofStored(double value) { return read(values::formatNumber(value)); }

void Decimal::normalize() {
    const std::size_t first = digits_.find_first_not_of('0');
    if (first == std::string::npos) {
        *this = Decimal();
        return;
    }
    digits_.erase(0, first);
    const std::size_t last = digits_.find_last_not_of('0');
    exponent_ += static_cast<long long>(digits_.size() - 1 - last);
    digits_.erase(last + 1);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    if (a.isZero()) return b;
    if (b.isZero()) return a;
    const Aligned x = align(a.digits_, a.exponent_, b.digits_, b.exponent_);
    Decimal sum;
    sum.exponent_ = x.exponent;
    if (a.negative_ == b.negative_) {
        sum.negative_ = a.negative_;
        sum.digits_ = addWhole(x.a, x.b);
    } else if (compareWhole(x.a, x.b) >= 0) {
        sum.negative_ = a.negative_;
        sum.digits_ = subtractWhole(x.a, x.b);
    } else {
        sum.negative_ = b.negative_;
        sum.digits_ = subtractWhole(x.b, x.a);
    }
    sum.normalize();
    return sum;
}

Decimal operator-(const Decimal& a, const Decimal& b) { return a + (-b); }

Decimal operator*(const Decimal& a, const Decimal& b) {
    if (a.isZero() || b.isZero()) return Decimal();
    Decimal product;
    product.negative_ = a.negative_ != b.negative_;
    product.digits_ = multiplyWhole(a.digits_, b.digits_);
    product.exponent_ = clampedExponent(a.exponent_ + b.exponent_);
    product.normalize();
    return product;
}

Decimal Decimal::operator-() const {
    Decimal negated = *this;
    if (!negated.isZero()) negated.negative_ = !negated.negative_;
    return negated;
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
    if (a.negative_ != b.negative_)
        return a.negative_ ? std::strong_ordering::less : std::strong_ordering::greater;
    std::strong_ordering magnitude = std::strong_ordering::equal;
    if (a.isZero() || b.isZero()) {
        magnitude = a.isZero()
                        ? (b.isZero() ? std::strong_ordering::equal : std::strong_ordering::less)
                        : std::strong_ordering::greater;
    } else {
        const long long topA = a.exponent_ + static_cast<long long>(a.digits_.size());
        const long long topB = b.exponent_ + static_cast<long long>(b.digits_.size());
        if (topA != topB) {
            magnitude = topA <=> topB;
        } else {
            // Same leading power of ten: the digits compare as they stand, a missing digit as 0.
            const std::size_t length = std::max(a.digits_.size(), b.digits_.size());
            std::string da = a.digits_, db = b.digits_;
            da.resize(length, '0');
            db.resize(length, '0');
            magnitude = da.compare(db) <=> 0;
        }
    }
    if (!a.negative_) return magnitude;
    return 0 <=> magnitude;
}

Decimal Decimal::roundedAt(long long place) const {
    if (isZero() || exponent_ >= place) return *this;
    const long long kept = static_cast<long long>(digits_.size()) - (place - exponent_);
    if (kept < 0) return Decimal();
    Decimal rounded;
    rounded.negative_ = negative_;
    rounded.exponent_ = place;
    rounded.digits_ = digits_.substr(0, static_cast<std::size_t>(kept));
    if (digits_[static_cast<std::size_t>(kept)] >= '5')
        rounded.digits_ = addWhole(rounded.digits_, "1");
    rounded.normalize();
    return rounded;
}

Decimal Decimal::roundedToDecimals(int decimals) const { return roundedAt(-decimals); }

Decimal Decimal::roundedToSignificant(int digits) const {
    if (isZero()) return *this;
    return roundedAt(exponent_ + static_cast<long long>(digits_.size()) - digits);
}

std::string Decimal::text() const {
    constexpr int kStoredDigits = 15;
    const Decimal r = roundedToSignificant(kStoredDigits);
    if (r.isZero()) return "0";
    const long long power = r.exponent_ + static_cast<long long>(r.digits_.size()) - 1;
    if (power >= -4 && power < kStoredDigits) return r.plainText();
    std::string text = r.negative_ ? "-" : "";
    text += r.digits_[0];
    if (r.digits_.size() > 1) text += "." + r.digits_.substr(1);
    return text + "E" + std::to_string(power);
}

std::string Decimal::plainText() const {
    if (isZero()) return "0";
    std::string text = negative_ ? "-" : "";
    if (exponent_ >= 0)
        return text + digits_ + std::string(static_cast<std::size_t>(exponent_), '0');
    const long long whole = static_cast<long long>(digits_.size()) + exponent_;
    if (whole > 0)
        return text + digits_.substr(0, static_cast<std::size_t>(whole)) + "." +
               digits_.substr(static_cast<std::size_t>(whole));
    return text + "0." + std::string(static_cast<std::size_t>(-whole), '0') + digits_;
}

double Decimal::toDouble() const {
    if (isZero()) return 0;
    const std::string text = digits_ + "e" + std::to_string(exponent_);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = exponent_ > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative_ ? -value : value;
}

}  // namespace store
