#include <gtest/gtest.h>

#include "store/Values.h"

namespace {

struct PlainCase {
    const char* text;
    const char* plain;
};

class PlainDecimals : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainDecimals, WriteTheExponentFormOut) {
    EXPECT_EQ(store::values::plainDecimalText(GetParam().text), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PlainDecimals,
    ::testing::Values(PlainCase{"5E-5", "0.00005"}, PlainCase{"-1.25E-7", "-0.000000125"},
                      PlainCase{"1.5E+20", "150000000000000000000"},
                      PlainCase{"1.23456789012345E-5", "0.0000123456789012345"},
                      PlainCase{"9.87E2", "987"}, PlainCase{"1.2345E2", "123.45"},
                      PlainCase{"0E0", "0"}, PlainCase{"-0E-3", "0"},
                      // Texts that are not numbers in exponent form stay as they are.
                      PlainCase{"12.5", "12.5"}, PlainCase{"", ""}, PlainCase{"E5", "E5"},
                      PlainCase{"1E", "1E"}, PlainCase{"ABE-5", "ABE-5"},
                      PlainCase{"1.2.3E4", "1.2.3E4"}, PlainCase{"1E99999", "1E99999"}));

}  // namespace
