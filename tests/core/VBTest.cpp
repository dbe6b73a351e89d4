#include "core/VB.h"
#include "support/TestSupport.h"

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>

class VBTest : public ProgramTest {};

TEST_F(VBTest, ValReadsLeadingNumberOnly)
{
    const struct { const char* text; double value; } cases[] = {
        {" 12.5abc", 12.5}, {"-3", -3}, {"1,5", 1}, {"abc", 0}, {"", 0}, {"  .5", 0.5}, {"1.2.3", 1.2}, {"+7", 7},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Val(c.text), c.value) << c.text;
}

TEST_F(VBTest, PrintAndGeneralForms)
{
    for (auto [value, text] : {std::pair{0.0, " 0"}, {5.0, " 5"}, {-5.0, "-5"}, {2.5, " 2.5"}, {0.5, " .5"}})
        EXPECT_EQ(Str(value), text) << value;
    for (auto [value, text] : {std::pair{0.013f * 100, "1,3"}, {1.9f, "1,9"}, {60.0f, "60"},
                               {12345678.0f, "1,234568E+07"}, {0.00001f, "1E-05"}})
        EXPECT_EQ(GeneralSingle(value), text) << value;
    // cents and currency units pass into each other on their digits: no binary rounding shows
    for (auto [value, power, text] : {std::tuple{0.79f, -2, "0,0079"}, {1.49f, -2, "0,0149"}, {0.0079f, 2, "0,79"},
                                      {0.0149f, 2, "1,49"}, {99999.99f, 2, "9999999"}, {0.0f, 2, "0"},
                                      {-6.28f, -2, "-0,0628"}})
        EXPECT_EQ(GeneralSingle(ScaleDecimal(value, power)), text) << value << " " << power;
    // the same digits written out without an exponent
    for (auto [value, text] : {std::pair{0.00005f, "0,00005"}, {1e8f, "100000000"}, {12345678.0f, "12345680"},
                               {99999999.0f, "100000000"}, {1.9f, "1,9"}, {0.0f, "0"}, {-0.0f, "0"},
                               {-0.0000125f, "-0,0000125"}, {1234.567f, "1234,567"}, {1e-10f, "0,0000000001"}})
        EXPECT_EQ(PlainSingle(value), text) << value;
    for (const char* plain : {"0", "0,019", "99999999", "-1,5", "0,00005", "12,0001"})
        EXPECT_TRUE(IsPlainNumber(plain)) << plain;
    for (const char* other : {"", "-0", "0,50", "1.5", "007", "1E+08", ",5", "5,", " 5", "1,5 ", "abc", "+1"})
        EXPECT_FALSE(IsPlainNumber(other)) << other;
    EXPECT_EQ(GeneralDouble(0.1 + 0.2), "0,3");
    EXPECT_EQ(GeneralDouble(-0.0), "0");
}

TEST_F(VBTest, FormatRoundsHalvesAwayFromZeroOnTheGeneralForm)
{
    const struct { double value; bool single; const char* pattern; const char* text; } cases[] = {
        {2.675, true, "0.00", "2,68"},  {2.675, false, "0.00", "2,68"}, {0.019, false, "0.000", "0,019"},
        {0.0195, false, "0.000", "0,020"}, {-1.5, false, "0", "-2"},   {2.5, false, "0", "3"},
        {5, false, "00", "05"},         {123, false, "00", "123"},      {0.004, false, "0.00", "0,00"},
        {-0.004, false, "0.00", "0,00"}, {999.995, false, "0.00", "1000,00"}, {1e-7, false, "0.000", "0,000"},
        {1234567.0, false, "0.00", "1234567,00"},
    };
    for (const auto& c : cases) {
        const QString got = c.single ? FormatSingle(float(c.value), c.pattern) : FormatDouble(c.value, c.pattern);
        EXPECT_EQ(got, c.text) << c.value << " " << c.pattern;
    }
}

// A German desktop sets the C library's LC_NUMERIC to ","; every form is the same under it, whoever set it.
TEST_F(VBTest, FormsIgnoreTheProcessLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the locale de_DE.UTF-8 is not installed";
    const QString huge(400, '9'), tiny = "0." + QString(400, '0') + "1";
    const struct { QString text; double value; } reads[] = {
        {"1.5", 1.5}, {"0.019", 0.019}, {"1,5", 1}, {"-2.25x", -2.25}, {"+.5", 0.5},
        {huge, HUGE_VAL}, {"-" + huge, -HUGE_VAL}, {tiny, 0}, {"000" + huge.left(3), 999},
    };
    for (const auto& c : reads) EXPECT_EQ(Val(c.text), c.value) << c.text.left(20).toStdString();
    const QStringList shown = {Str(2.5), Str(-0.5), GeneralDouble(1.5), GeneralSingle(0.019f),
                               GeneralSingle(12345678.0f), GeneralDouble(1e20), GeneralDouble(HUGE_VAL),
                               FormatDouble(0.019, "0.000"), FormatSingle(24.0f, "00"), FormatDouble(1e-3, "0.00")};
    EXPECT_EQ(shown.join('|'), " 2.5|-.5|1,5|0,019|1,234568E+07|1E+20|INF|0,019|24|0,00");
    std::setlocale(LC_ALL, before.c_str());
}

TEST_F(VBTest, WholeNumbersRoundHalvesToEven)
{
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CLng(5000000000.5), 5000000000LL);
    // beyond the range the nearest end, NaN 0
    const double nan = std::nan(""), inf = HUGE_VAL;
    const struct { double value; qint32 i; qint64 l; } edges[] = {
        {nan, 0, 0},
        {-nan, 0, 0},
        {inf, INT32_MAX, INT64_MAX},
        {-inf, INT32_MIN, INT64_MIN},
        {2147483647.4, INT32_MAX, 2147483647LL},
        {2147483647.5, INT32_MAX, 2147483648LL},
        {-2147483648.5, INT32_MIN, -2147483648LL},
        {-2147483649.0, INT32_MIN, -2147483649LL},
        {9.3e18, INT32_MAX, INT64_MAX},
        {-9.3e18, INT32_MIN, INT64_MIN},
    };
    for (const auto& c : edges) {
        EXPECT_EQ(CInt(c.value), c.i) << c.value;
        EXPECT_EQ(CLng(c.value), c.l) << c.value;
    }
    EXPECT_EQ(FormatThousands(999) + " " + FormatThousands(3000000000.0), "999 3.000.000.000");
    // the ends of the 64-bit range, the lowest one included
    EXPECT_EQ(FormatThousands(-9.3e18) + " " + FormatThousands(9.3e18),
              "-9.223.372.036.854.775.808 9.223.372.036.854.775.807");
}

TEST_F(VBTest, SingleStopsAtTheEndsOfItsRange)
{
    EXPECT_EQ(CSng(1e39), FLT_MAX);
    EXPECT_EQ(CSng(-HUGE_VAL), -FLT_MAX);
    EXPECT_EQ(CSng(0.1), 0.1f);
    EXPECT_TRUE(std::isnan(CSng(std::nan(""))));
    EXPECT_EQ(SingleSum(FLT_MAX, FLT_MAX), FLT_MAX);
    EXPECT_EQ(SingleSum(-FLT_MAX, -1e38f), -FLT_MAX);
    const float a = 16777216.0f, b = 1.0f; // the single sum drops the 1, as a single addition does
    EXPECT_EQ(SingleSum(a, b), a + b);
}

TEST_F(VBTest, GermanNamesAndShortDates)
{
    EXPECT_EQ(GermanDayName(QDate(2001, 1, 17).dayOfWeek()), "Mittwoch");
    EXPECT_EQ(GermanDayName(7), "Sonntag");
    EXPECT_EQ(GermanMonthName(3), QStringLiteral("März"));
    EXPECT_EQ(ShortDate(QDate(2031, 2, 5)), "05.02.2031");
    EXPECT_EQ(ParseShortDate("1.1.2002"), QDate(2002, 1, 1));
    EXPECT_EQ(ParseShortDate("01.01.2002"), QDate(2002, 1, 1));
    EXPECT_FALSE(ParseShortDate("31.2.2002").isValid());
    EXPECT_FALSE(ParseShortDate("heute").isValid());
    // a year below 100 as the record names take it
    const struct { const char* text; QDate date; } years[] = {
        {"5.3.03", QDate(2003, 3, 5)},  {"1.1.05", QDate(2005, 1, 1)},   {"1.1.0", QDate(2000, 1, 1)},
        {"1.1.00", QDate(2000, 1, 1)},  {"31.12.29", QDate(2029, 12, 31)}, {"1.1.30", QDate(1930, 1, 1)},
        {"1.1.99", QDate(1999, 1, 1)},  {"1.1.100", QDate(100, 1, 1)},  {"29.2.04", QDate(2004, 2, 29)},
        {"1.1.2030", QDate(2030, 1, 1)},
    };
    for (const auto& c : years) EXPECT_EQ(ParseShortDate(c.text), c.date) << c.text;
    EXPECT_FALSE(ParseShortDate("29.2.03").isValid());
}
