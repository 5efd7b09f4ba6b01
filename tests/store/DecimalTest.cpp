#include <gtest/gtest.h>

#include "store/Decimal.h"
#include "store/Error.h"

namespace {

using store::Decimal;

struct ArithmeticCase {
    const char* a;
    char op;  // '+', '-', '*'
    const char* b;
    const char* stored;  // the text the result is stored as
};

class DecimalArithmetic : public testing::TestWithParam<ArithmeticCase> {};

TEST_P(DecimalArithmetic, IsExactAndRoundedToFifteenDigitsOnlyWhenStored) {
    const auto& c = GetParam();
    const Decimal a = Decimal::read(c.a), b = Decimal::read(c.b);
    const Decimal result = c.op == '+' ? a + b : c.op == '-' ? a - b : a * b;
    EXPECT_EQ(result.text(), c.stored) << c.a << ' ' << c.op << ' ' << c.b;
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, DecimalArithmetic,
    testing::Values(
        ArithmeticCase{"0.1", '+', "0.2", "0.3"}, ArithmeticCase{"1.005", '*', "1000", "1005"},
        ArithmeticCase{"3", '*', "1.234", "3.702"},
        ArithmeticCase{"199", '-', "199", "0"},       // 19.9 × 10 − 19.9 × 10
        ArithmeticCase{"372", '-', "372.0", "0"},     // 6.2 × 60 stored, sold out
        ArithmeticCase{"2.999", '-', "3", "-0.001"},  // stock 2.999, 3 sold
        ArithmeticCase{"6.2", '*', "60", "372"}, ArithmeticCase{"-2.5", '*', "4", "-10"},
        ArithmeticCase{"0.5", '-', "0.75", "-0.25"}, ArithmeticCase{"5.", '+', ".5", "5.5"},
        ArithmeticCase{"1E-5", '*', "1", "1E-5"}, ArithmeticCase{"0.0001", '+', "0", "0.0001"},
        // Near the store's bound of 1E24.
        ArithmeticCase{"999999999999999", '*', "1000000000", "9.99999999999999E23"},
        ArithmeticCase{"1E24", '-', "0.0001", "1E24"}, ArithmeticCase{"1E12", '*', "1E12", "1E24"},
        ArithmeticCase{"123456789012345678", '+', "0", "1.23456789012346E17"},
        // Halves at the sixteenth digit round away from zero.
        ArithmeticCase{"0.1234567890123455", '+', "0", "0.123456789012346"},
        ArithmeticCase{"-0.1234567890123455", '+', "0", "-0.123456789012346"},
        ArithmeticCase{"0.1234567890123454999", '+', "0", "0.123456789012345"},
        ArithmeticCase{"9.999999999999995", '+', "0", "10"}));

TEST(Decimal, RoundsHalfAwayFromZeroToDecimals) {
    struct Case {
        const char* text;
        const char* rounded;
    };
    for (const Case& c : {Case{"2.675", "2.68"}, Case{"1.005", "1.01"}, Case{"-1.005", "-1.01"},
                          Case{"0.004", "0"}, Case{"-0.004", "0"}, Case{"9.995", "10"},
                          Case{"0.005", "0.01"}, Case{"12.5", "12.5"}, Case{"1E-9", "0"}})
        EXPECT_EQ(Decimal::read(c.text).roundedToDecimals(2).text(), c.rounded) << c.text;
}

TEST(Decimal, ComparesByValue) {
    EXPECT_EQ(Decimal::read("5"), Decimal::read("5.000"));
    EXPECT_EQ(Decimal::read("-0"), Decimal());
    EXPECT_LT(Decimal::read("4.999999999999999999"), Decimal::read("5"));
    EXPECT_GT(Decimal::read("5.0000000000000000001"), Decimal::read("5"));
    EXPECT_LT(Decimal::read("-3"), Decimal::read("-2.5"));
    EXPECT_LT(Decimal::read("-0.001"), Decimal());
    EXPECT_GT(Decimal::read("1E3"), Decimal::read("999.99"));
}

TEST(Decimal, ReadsWhatTheStoreReadsAndNothingElse) {
    EXPECT_EQ(Decimal::read(" +1.5e2 ").plainText(), "150");
    EXPECT_EQ(Decimal::read("1e-400").text(), "0");  // too small for the store: zero
    EXPECT_EQ(Decimal::ofStored(0.1 + 0.2).text(), "0.3");
    EXPECT_EQ(Decimal::read("0.30000000000000004").toDouble(), 0.30000000000000004);
    for (const char* no : {"", ".", "-", "abc", "1,5", "1e400", "inf", "1 2"}) {
        EXPECT_FALSE(Decimal::parse(no).has_value()) << no;
        EXPECT_THROW(Decimal::read(no), store::StoreError) << no;
    }
}

}  // namespace
