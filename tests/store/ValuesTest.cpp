#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "store/Error.h"
#include "store/Values.h"

using namespace store::values;

namespace {

struct ParseCase {
    const char* text;
    std::optional<double> expected;
};

class ParseNumber : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumber, ReadsDecimalTextWithPoint) {
    auto [text, expected] = GetParam();
    EXPECT_EQ(parseNumber(text), expected) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseNumber,
    testing::Values(ParseCase{"12.5", 12.5}, ParseCase{" 3 ", 3.0}, ParseCase{"5.", 5.0},
                    ParseCase{".5", 0.5}, ParseCase{"-1e3", -1000.0}, ParseCase{"+2", 2.0},
                    ParseCase{"-0", 0.0}, ParseCase{"1e-400", 0.0}, ParseCase{"", std::nullopt},
                    ParseCase{"abc", std::nullopt}, ParseCase{"1,5", std::nullopt},
                    ParseCase{"1e", std::nullopt}, ParseCase{".", std::nullopt},
                    ParseCase{"inf", std::nullopt}, ParseCase{"nan", std::nullopt},
                    ParseCase{"1e400", std::nullopt}, ParseCase{"1 2", std::nullopt},
                    ParseCase{"0x10", std::nullopt}));

struct FormatCase {
    double value;
    const char* expected;
};

class FormatNumber : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumber, GivesShortestTextOfFifteenDigits) {
    EXPECT_EQ(formatNumber(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatNumber,
                         testing::Values(FormatCase{3.0, "3"}, FormatCase{12.5, "12.5"},
                                         FormatCase{0.1, "0.1"}, FormatCase{0.1 + 0.2, "0.3"},
                                         FormatCase{1.0 / 3, "0.333333333333333"},
                                         FormatCase{-2.25, "-2.25"}, FormatCase{-0.0, "0"},
                                         FormatCase{123456789012.5, "123456789012.5"},
                                         FormatCase{123456789012345678.0, "1.23456789012346E17"},
                                         FormatCase{0.00001, "1E-5"},
                                         FormatCase{0.0001, "0.0001"}));

// At the top of the range the nearest 15-digit text would lie beyond every double: the text is
// rounded toward zero there, so that it always reads back as a number.
TEST(Values, TheTextOfEveryFiniteDoubleReadsBack) {
    const double largest = std::numeric_limits<double>::max();
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {largest, "1.79769313486231E308"},
        {-largest, "-1.79769313486231E308"},
        {std::nextafter(1.79769313486231e308, largest), "1.79769313486231E308"},
        {1.79769313486231e308, "1.79769313486231E308"},
        {1.7976931348623e308, "1.7976931348623E308"},
        {1e308, "1E308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatNumber(c.value), c.expected) << c.value;
        EXPECT_EQ(formatNumber(static_cast<long double>(c.value)), c.expected) << c.value;
        EXPECT_TRUE(parseNumber(formatNumber(c.value)).has_value()) << c.value;
    }
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity()), "INF");
}

// A number already in formatNumber's form is taken as it is: the claim must never be wrong, or a
// shown figure would differ from the file's.
TEST(Values, FormattedNumberTextIsWhatFormatNumberGives) {
    const struct {
        const char* text;
        bool formatted;
    } cases[] = {
        {"12.5", true},
        {"-3", true},
        {"0.1", true},
        {"0.0001", true},
        {"100", true},
        {"123456789012345", true},
        {"0.12345678901234", true},
        {"99999999999999.9", true},
        {"0", false},
        {"-0", false},
        {"0.00001", false},
        {"1e+15", false},
        {"1000000000000000", false},
        {"0.30000000000000004", false},
        {"1234567890123456", false},
        {"12.50", false},
        {"012", false},
        {".5", false},
        {"5.", false},
        {"-", false},
        {"", false},
        {"NaN", false},
        {"Infinity", false},
        {"1.5e-05", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isFormattedNumber(c.text), c.formatted) << c.text;
        if (c.formatted) {
            EXPECT_EQ(formatNumber(std::stod(c.text)), c.text);
        }
    }
    // The server's shortest text of many doubles of every size: wherever the claim is made, it
    // holds.
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> exponent(-8, 17);
    std::uniform_int_distribution<int> decimals(0, 6);
    for (int i = 0; i < 200000; ++i) {
        double value = std::pow(10.0, exponent(random)) * (i % 2 ? -1 : 1);
        if (i % 3 == 0) {  // prices and quantities: a few decimals
            const double scale = std::pow(10.0, decimals(random));
            value = std::round(value * scale) / scale;
        }
        char text[40];
        const auto end = std::to_chars(text, text + sizeof text, value).ptr;
        const std::string shortest(text, end);
        if (isFormattedNumber(shortest)) {
            ASSERT_EQ(formatNumber(value), shortest) << shortest;
        }
    }
}

TEST(Values, ProductIsRoundedToFifteenDigitsInExtendedPrecision) {
    EXPECT_EQ(productText("1.1", "3"), "3.3");
    EXPECT_EQ(productText("0.1", "3"), "0.3");
    EXPECT_EQ(productText("19.9", "3"), "59.7");
    EXPECT_EQ(productText("5.", "2"), "10");
    EXPECT_EQ(formatNumber(1.0L / 3.0L), "0.333333333333333");
    EXPECT_THROW(productText("abc", "1"), store::StoreError);
    EXPECT_THROW(productText("2", ""), store::StoreError);
}

TEST(Values, NotANumberMessageQuotesTheText) {
    try {
        toNumber("");
        FAIL();
    } catch (const store::StoreError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
    }
    try {
        toNumber("12a");
        FAIL();
    } catch (const store::StoreError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid floating point value");
    }
}

struct DisplayCase {
    double value;
    const char* display;  // "#0.##"
    const char* rounded;  // "0.00", then shortest
};

class DisplayFormats : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayFormats, RoundHalfAwayTheValueOfTheStoredText) {
    const auto& c = GetParam();
    EXPECT_EQ(formatDisplay(c.value), c.display) << c.value;
    EXPECT_EQ(roundTo2Text(formatNumber(c.value)), c.rounded) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, DisplayFormats,
    // The double of 2.675 is 2.67499999..., but its stored text, and so its value, is 2.675.
    testing::Values(DisplayCase{2.675, "2.68", "2.68"}, DisplayCase{1234.567, "1234.57", "1234.57"},
                    DisplayCase{0.004, "0", "0"}, DisplayCase{-1.5, "-1.5", "-1.5"},
                    DisplayCase{-0.001, "0", "0"}, DisplayCase{0.125, "0.13", "0.13"},
                    DisplayCase{1.005, "1.01", "1.01"}, DisplayCase{3, "3", "3"},
                    DisplayCase{9.999, "10", "10"}, DisplayCase{0.5, "0.5", "0.5"},
                    DisplayCase{1e-20, "0", "0"},
                    DisplayCase{12345678.9, "12345678.9", "12345678.9"}));

TEST(Values, DisplayTextOfStoredText) {
    EXPECT_EQ(displayText(""), "");
    EXPECT_EQ(displayText("3.14159"), "3.14");
    EXPECT_THROW(roundTo2Text(""), store::StoreError);
}

TEST(Values, TotalsInTenThousandths) {
    EXPECT_EQ(addTenThousandths(7, 1.2), 12007);
    EXPECT_EQ(addTenThousandths(0, 0.1), 1000);
    EXPECT_EQ(addTenThousandths(10, -2.5), -24990);
    EXPECT_EQ(toTenThousandths(0.03125), 312);  // exactly 312.5: halves go to even
    EXPECT_EQ(toTenThousandths(0.09375), 938);  // exactly 937.5
    EXPECT_EQ(toTenThousandths(1.23456), 12346);

    Total total = 0;
    for (int i = 0; i < 10; ++i) total = addTenThousandths(total, 0.1);
    EXPECT_EQ(tenThousandthsText(total), "1");

    struct Case {
        std::int64_t total;
        const char* text;
        const char* display;
    };
    for (auto c : {Case{12345, "1.2345", "1.23"}, Case{12350, "1.235", "1.24"},
                   Case{-12350, "-1.235", "-1.24"}, Case{-49, "-0.0049", "0"},
                   Case{30000, "3", "3"}, Case{0, "0", "0"}}) {
        EXPECT_EQ(tenThousandthsText(c.total), c.text) << c.total;
        EXPECT_EQ(tenThousandthsDisplay(c.total), c.display) << c.total;
    }
}

TEST(Values, AHalfRoundsTheSumToEven) {
    EXPECT_TRUE(addTenThousandths(1, 0.03125) == 314);  // 313.5
    EXPECT_TRUE(addTenThousandths(2, 0.03125) == 314);  // 314.5
    EXPECT_TRUE(addTenThousandths(-1, -0.03125) == -314);
    EXPECT_TRUE(addTenThousandths(0, -0.03125) == -312);
}

TEST(Values, TotalsBeyondSixtyFourBitsStayExact) {
    // 99999999999999999999 reads as the double 1e20: 1e24 ten-thousandths.
    const Total big = toTenThousandths(*parseNumber("99999999999999999999"));
    EXPECT_EQ(tenThousandthsText(big), "100000000000000000000");
    EXPECT_EQ(tenThousandthsDisplay(addTenThousandths(big, 0.125)), "100000000000000000000.13");
    EXPECT_EQ(tenThousandthsText(-big), "-100000000000000000000");

    // 2^31 rows of the largest accepted number, both signs, still fit.
    const Total largest = toTenThousandths(kLargestNumber);
    const Total rows = Total{1} << 31;
    EXPECT_TRUE(largest * rows / rows == largest);
    EXPECT_NO_THROW(addTenThousandths(largest * (rows - 1), kLargestNumber));
    EXPECT_NO_THROW(addTenThousandths(-largest * (rows - 1), -kLargestNumber));
}

TEST(Values, ATotalThatCannotBeHeldThrowsInsteadOfWrapping) {
    const Total top = ~(Total{1} << 127);
    EXPECT_THROW(addTenThousandths(top, 1.0), store::StoreError);
    EXPECT_THROW(addTenThousandths(-top - 1, -1.0), store::StoreError);
    EXPECT_THROW(toTenThousandths(1e300), store::StoreError);
    EXPECT_TRUE(addTenThousandths(top - 10000, 1.0) == top);
}

TEST(Values, AcceptedNumbers) {
    for (double ok : {0.0, 1e24, -1e24, 99999999999999999999.0, 1e-300})
        EXPECT_TRUE(isAcceptedNumber(ok)) << ok;
    for (double no : {1.0000001e24, -2e24, 1e300, HUGE_VAL, -HUGE_VAL, std::nan("")})
        EXPECT_FALSE(isAcceptedNumber(no)) << no;
}

TEST(Values, AProductTooLargeNamesTheTypedFields) {
    EXPECT_EQ(productText("1E12", "1E12", "进货单价", "进货数量"), "1E24");
    for (auto [a, b] :
         {std::pair{"1E200", "1E200"}, std::pair{"1E20", "1E20"}, std::pair{"-1E13", "1E12"}}) {
        try {
            productText(a, b, "进货单价", "进货数量");
            ADD_FAILURE() << a << " × " << b;
        } catch (const store::StoreError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("“进货单价”"), std::string::npos) << message;
            EXPECT_NE(message.find("“进货数量”"), std::string::npos) << message;
            EXPECT_EQ(message.find("floating point"), std::string::npos) << message;
        }
    }
}

TEST(Values, CharacterCountCountsUnicodeCharacters) {
    EXPECT_EQ(characterCount("中文ab"), 4u);
    EXPECT_EQ(characterCount(""), 0u);
}

}  // namespace
