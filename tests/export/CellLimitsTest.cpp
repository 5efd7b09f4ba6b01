// What a sheet's cell can hold: numbers in Excel's range, texts of up to 32,767 UTF-16 units.
#include "export/CellLimits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using workbook::Cell;
using workbook::CellAdjustments;
using workbook::withinLimits;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t k = 0; k < times; ++k) text += piece;
    return text;
}

TEST(CellLimitsTest, NumbersBeyondTheSheetsRangeAreLeftEmptyAndCounted) {
    const struct {
        double value;
        bool kept;
    } cases[] = {
        {0.1, true},
        {1e15, true},
        {-3.25, true},
        {0, true},
        {workbook::kLargestCellNumber, true},
        {-workbook::kLargestCellNumber, true},
        {std::numeric_limits<double>::denorm_min(), true},
        {std::nextafter(workbook::kLargestCellNumber, kInfinity), false},
        {1e308, false},
        {-1.7976931348623157e308, false},
        {kInfinity, false},
        {-kInfinity, false},
        {std::numeric_limits<double>::quiet_NaN(), false},
    };
    CellAdjustments counted;
    int expectedLeftEmpty = 0;
    for (const auto& c : cases) {
        const Cell cell = withinLimits(Cell::ofNumber(c.value), &counted);
        if (c.kept) {
            EXPECT_EQ(cell.kind, Cell::Kind::Number) << c.value;
            EXPECT_EQ(cell.number, c.value);
        } else {
            EXPECT_EQ(cell.kind, Cell::Kind::Empty) << c.value;
            ++expectedLeftEmpty;
        }
    }
    EXPECT_EQ(counted.numbersLeftEmpty, expectedLeftEmpty);
    EXPECT_EQ(counted.textsCut, 0);
}

TEST(CellLimitsTest, LongTextsAreCutAtTheLimitNeverInsideASurrogatePair) {
    const std::size_t limit = workbook::kLongestCellText;
    const struct {
        std::string text;
        std::size_t keptBytes;
        bool cut;
    } cases[] = {
        {std::string(limit, 'a'), limit, false},
        {std::string(limit + 1, 'a'), limit, true},
        {repeated("进", limit), limit * 3, false},  // three bytes, one unit each
        {repeated("进", limit + 5), limit * 3, true},
        {repeated("é", limit + 1), limit * 2, true},
        // An emoji is a surrogate pair: it fits only with both of its units.
        {std::string(limit - 2, 'a') + "😀", limit + 2, false},
        {std::string(limit - 1, 'a') + "😀", limit - 1, true},
        {repeated("😀", limit), (limit / 2) * 4, true},
        {"短文本", 9, false},
    };
    CellAdjustments counted;
    int expectedCut = 0;
    for (const auto& c : cases) {
        const Cell cell = withinLimits(Cell::ofText(c.text), &counted);
        ASSERT_EQ(cell.kind, Cell::Kind::Text);
        EXPECT_EQ(cell.text.size(), c.keptBytes) << c.text.size();
        EXPECT_EQ(cell.text, std::string_view(c.text).substr(0, c.keptBytes));
        expectedCut += c.cut ? 1 : 0;
    }
    EXPECT_EQ(counted.textsCut, expectedCut);
    EXPECT_EQ(counted.numbersLeftEmpty, 0);
}

TEST(CellLimitsTest, EmptyValuesAreNoCellAndNothingIsCountedWithoutACounter) {
    EXPECT_EQ(withinLimits(Cell::ofText("")).kind, Cell::Kind::Empty);
    EXPECT_EQ(withinLimits(Cell::empty()).kind, Cell::Kind::Empty);
    EXPECT_EQ(withinLimits(Cell::ofNumber(kInfinity)).kind, Cell::Kind::Empty);
}

TEST(CellLimitsTest, StoredNumberTextsIncludeTheStoresTextsOfInfinity) {
    EXPECT_EQ(workbook::storedNumber("INF"), kInfinity);
    EXPECT_EQ(workbook::storedNumber("-INF"), -kInfinity);
    EXPECT_TRUE(std::isnan(*workbook::storedNumber("NAN")));
    EXPECT_EQ(workbook::storedNumber("1.79769313486231E308"), 1.79769313486231e308);
    EXPECT_EQ(workbook::storedNumber("12.5"), 12.5);
    EXPECT_FALSE(workbook::storedNumber("inf").has_value());  // what a user types stays text
    EXPECT_FALSE(workbook::storedNumber("001x").has_value());
}

}  // namespace
