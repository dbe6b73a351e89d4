#include "core/PriceReader.h"
#include "core/TimeRoutines.h"

#include <gtest/gtest.h>

TEST(ReadZonePrice, TakesTheWholeValueWithEitherSeparator)
{
    const struct {
        const char* text;
        double value;
    } good[] = {{"1,9", 1.9},   {"1.9", 1.9}, {" 1,9 ", 1.9}, {"4", 4},         {"0", 0},
                {"-1,5", -1.5}, {",5", 0.5},  {"5,", 5},      {"\t2.25", 2.25}, {"007", 7}};
    for (const auto& c : good) {
        const auto v = ReadZonePrice(QString::fromLatin1(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
    // an exponent is read only by the tariff readers: typed input, records and budgets refuse it
    const char* bad[] = {"", " ", "1,2,3", "1.234,5", "1,9x", "x1", "1e3", "5E-03", "abc", "+", "- 1", "1 9", ",",
                         "1,9 Cent"};
    for (const char* text : bad) EXPECT_FALSE(ReadZonePrice(QString::fromLatin1(text)).has_value()) << text;
}

TEST(ValDecimal, ReadsCommaOrPointAndKeepsTheSign)
{
    const struct {
        const char* text;
        float value;
    } cases[] = {{"0,075", 0.075f}, {"1.5", 1.5f},   {" 7", 7.0f},    {"", 0.0f},      {"12,50", 12.5f}, {"3,", 3.0f},
                 {"abc", 0.0f},     {"-0,5", -0.5f}, {"-0.5", -0.5f}, {"-2,5", -2.5f}, {"1,5 MB", 1.5f},
                 // a whole part from 10^15 on is read in all its digits, never as its leading digit
                 {"1000000000000000,5", 1e15f}, {"-123456789012345678,25", -1.2345679e17f}};
    for (const auto& c : cases) EXPECT_FLOAT_EQ(ValDecimal(QString::fromLatin1(c.text)), c.value) << c.text;
}
