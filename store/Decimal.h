#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace store {

// An exact decimal number, for every figure the program computes from texts before it stores it:
// a text is read digit for digit, sums, differences and products are exact, and the result is
// rounded only when it is turned into the text that is stored (15 significant digits). A number
// read through a binary double would carry that double's error into the file (6.2 × 60 is not
// 372 in binary).
class Decimal {
  public:
    Decimal() = default;  // zero
    explicit Decimal(long long whole);

    // A decimal text as the store reads one (optional sign, digits with "." as the decimal
    // point, optional exponent, surrounding blanks allowed), exactly as written. Empty optional
    // for a text that is not a number or beyond what a double holds; a value too small for a
    // double reads as zero, as the store reads it.
    static std::optional<Decimal> parse(std::string_view text);
    // The same; a text that is not a number throws "'%s' is not a valid floating point value".
    static Decimal read(std::string_view text);
    // A stored double as the store shows it: the value of its shortest text of 15 digits.
    static Decimal ofStored(double value);

    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);
    Decimal operator-() const;
    Decimal& operator+=(const Decimal& b) { return *this = *this + b; }
    Decimal& operator-=(const Decimal& b) { return *this = *this - b; }

    friend bool operator==(const Decimal& a, const Decimal& b) = default;
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

    bool isZero() const noexcept { return digits_.empty(); }
    bool isNegative() const noexcept { return negative_; }

    // Rounded half away from zero to this many decimals, or to this many significant digits.
    Decimal roundedToDecimals(int decimals) const;
    Decimal roundedToSignificant(int digits) const;

    // The text that is stored: rounded to 15 significant digits, in its shortest form (12.5, 3,
    // 0.1, 1E-5, 1.23456789012346E17), the form the store shows a stored number in.
    std::string text() const;
    // Every digit, without exponent and without rounding (1E3 gives 1000, 0.5 gives 0.5).
    std::string plainText() const;
    // The double nearest to the value: what a number column keeps of it.
    double toDouble() const;

  private:
    // value = (negative ? -1 : 1) × digits × 10^exponent; digits hold no leading or trailing
    // zeros, and zero has none at all (and is never negative).
    void normalize();
    // The digits with those beyond 10^-place dropped, the last kept one rounded half up.
    Decimal roundedAt(long long place) const;

    bool negative_ = false;
    std::string digits_;
    long long exponent_ = 0;
};

}  // namespace store
