#include <gtest/gtest.h>

#include <limits>

#include "importing/readers/CellText.h"

namespace {

using namespace importing::celltext;

TEST(CellText, NumbersAreShortestDecimalsWithoutExponent) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {6932169358293.0, "6932169358293"},  // a 13-digit code, as 06932169358293 was read
        {69321693582931.0, "69321693582931"},
        {0.1, "0.1"},
        {1e15, "1000000000000000"},
        {1e21, "1000000000000000000000"},
        {-2.5, "-2.5"},
        {12.0, "12"},
        {0.000001, "0.000001"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.30000000000000004"},
        {std::numeric_limits<double>::quiet_NaN(), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(numberText(c.value), c.text) << c.value;
}

TEST(CellText, WrittenNumbersAreReadToTheSameForm) {
    const struct {
        const char* written;
        const char* text;
    } cases[] = {
        {"1E+15", "1000000000000000"},
        {"0.10000000000000001", "0.1"},
        {"6.9321693582930E12", "6932169358293"},
        {"-12.50", "-12.5"},
        {"+3", "3"},
        {"12abc", "12abc"},
        {"", ""},
        {"-", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberText(std::string_view(c.written)), c.text) << c.written;
}

TEST(CellText, SerialDatesInBothSystems) {
    const struct {
        double serial;
        bool date1904;
        const char* text;
    } cases[] = {
        {1, false, "1900-01-01"},
        {59, false, "1900-02-28"},
        {60, false, "1900-02-29"},
        {61, false, "1900-03-01"},
        {45658, false, "2025-01-01"},
        {45658.75, false, "2025-01-01"},  // the time of day is left out
        {0, true, "1904-01-01"},
        {44196, true, "2025-01-01"},
        {-1, false, ""},
        {1e9, false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(serialDate(c.serial, c.date1904), c.text) << c.serial << " " << c.date1904;
    EXPECT_EQ(serialTime(45658.5), "12:00:00");
    EXPECT_EQ(serialTime(0.999999), "00:00:00");
}

TEST(CellText, FormatCodesThatShowDatesAndTimes) {
    const struct {
        const char* code;
        FormatKind kind;
    } cases[] = {
        {"yyyy-mm-dd", FormatKind::Date},
        {"yyyy\"年\"m\"月\"d\"日\"", FormatKind::Date},
        {"[$-804]yyyy/m/d h:mm", FormatKind::Date},
        {"m/d", FormatKind::Date},
        {"h:mm:ss", FormatKind::Time},
        {"[h]:mm", FormatKind::Time},
        {"General", FormatKind::Number},
        {"0.00E+00", FormatKind::Number},
        {"#,##0.00\"天\"", FormatKind::Number},
        {"0.00 \"days\"", FormatKind::Number},  // letters in quotes stand for themselves
        {"[Red]0.00", FormatKind::Number},      // nor are colours dates
        {"0\\d", FormatKind::Number},
        {"@", FormatKind::Number},
    };
    for (const auto& c : cases) EXPECT_EQ(formatKind(c.code), c.kind) << c.code;
    EXPECT_EQ(builtinFormatKind(14), FormatKind::Date);
    EXPECT_EQ(builtinFormatKind(22), FormatKind::Date);
    EXPECT_EQ(builtinFormatKind(20), FormatKind::Time);
    EXPECT_EQ(builtinFormatKind(47), FormatKind::Time);
    EXPECT_EQ(builtinFormatKind(0), FormatKind::Number);
    EXPECT_EQ(builtinFormatKind(49), FormatKind::Number);
}

}  // namespace
