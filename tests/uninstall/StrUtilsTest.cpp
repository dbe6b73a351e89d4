#include "znStrUtils.h"

#include <gtest/gtest.h>

TEST(StrUtils, ExtractFieldKeepsQuotesAsTheLogNeedsThem)
{
    const struct {
        int N;
        QByteArray S, Expected;
    } cases[] = {
        {1, "ab'c,d'e", "ab'c,d'e"},
        {1, "'x,y',z", "x,y"},
        {1, "\"x,y\",z", "\"x,y\""},
        {2, "a,,b", ""},
        {3, "a,,b", "b"},
        {4, "a,,b", ""},
        {0, "a,b", "a"},
        {2, "'it''s',x", "x"},
        {1, "'it''s',x", "it's"},
        {2, "\"a'b\",c", "c"},
        {2, "'a\"b',c", "c"},
        {1, "'open,x", "open,x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractField(c.N, c.S, ","), c.Expected) << c.N << " " << c.S.constData();
}

TEST(StrUtils, UnquoteReplaceAndPad)
{
    EXPECT_EQ(UnquoteStr("'a''b'c", '\''), "a'b");
    EXPECT_EQ(UnquoteStr("''", '\''), "");
    EXPECT_EQ(UnquoteStr("'abc", '\''), "abc");
    EXPECT_EQ(UnquoteStr("abc'", '\''), "abc'");
    EXPECT_EQ(ReplaceStr("a||b||", "||", "\r"), "a\rb\r");
    EXPECT_EQ(ReplaceStr("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceStr("abc", "", "x"), "abc");
    EXPECT_EQ(PadLeft('0', "12", 2), "12");
    EXPECT_EQ(PadLeft('0', "12", 4), "0012");
    EXPECT_EQ(DelChars("a-b-c", '-'), "abc");
    EXPECT_EQ(GetNamePart("a=b=c"), "a");
    EXPECT_EQ(GetValuePart("a=b=c"), "b=c");
    EXPECT_EQ(GetNamePart("abc"), "abc");
    EXPECT_EQ(GetValuePart("abc"), "");
}

TEST(StrUtils, IntToBase)
{
    EXPECT_EQ(IntToBase(0, 3, 32), "000");
    EXPECT_EQ(IntToBase(31, 0, 32), "V");
    EXPECT_EQ(IntToBase(32, 3, 32), "010");
    EXPECT_EQ(IntToBase(-1, 3, 32), "");
    EXPECT_EQ(IntToBase(35, 1, 36), "Z");
    EXPECT_EQ(IntToBase(1024, 2, 32), "100");
}

TEST(StrUtils, CaseFoldingIsTheCodePagesOwn)
{
    EXPECT_TRUE(SameText("\xC4rger\x9A", "\xE4RGER\x8A")); // Ärgerš / äRGERŠ
    EXPECT_TRUE(SameText("\x9C\x9E\xFF", "\x8C\x8E\x9F"));
    EXPECT_FALSE(SameText("\xD7", "\xF7")); // × and ÷ are no pair
    EXPECT_FALSE(SameText("\xDF", "SS"));
    EXPECT_LT(CompareText("a", "B"), 0);
    EXPECT_EQ(ComparePathText(QStringLiteral("\u00C4.ini"), QStringLiteral("\u00E4.ini")) != 0, true);
    EXPECT_EQ(AnsiToString("\x80\x81\xDF"), QString(QChar(0x20AC)) + QChar(0x81) + QChar(0xDF));
}

TEST(StrUtils, NumbersAsTheIniReadsThem)
{
    const struct {
        QByteArray S;
        bool Ok;
        qint32 Value;
    } cases[] = {
        {"12", true, 12},         {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0}, {"$FF", true, 255},
        {"$FFFFFFFF", true, -1},  {"$100000000", false, 0},
        {"12a", false, 0},        {"", false, 0},
        {" 7", true, 7},          {"7 ", false, 0},
        {"$", false, 0},          {"-", false, 0},
    };
    for (const auto& c : cases) {
        qint32 v = 0;
        EXPECT_EQ(TryStrToInt(c.S, v), c.Ok) << c.S.constData();
        if (c.Ok) {
            EXPECT_EQ(v, c.Value) << c.S.constData();
        }
    }
}
