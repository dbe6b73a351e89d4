// Typed numbers are held to ranges whose values the files hold back as the same number.
#include "core/NumberRange.h"
#include "support/TestSupport.h"

using NumberRangeTest = ProgramTest;

TEST_F(NumberRangeTest, MessagesNameTheRangeInGermanGrouping)
{
    const struct {
        NumberRange range;
        const char* message;
    } cases[] = {
        {COUNT_RANGE, "Bitte geben Sie eine Zahl von 0 bis 999.999.999.999.999 ein."},
        {AMOUNT_RANGE, "Bitte geben Sie eine Zahl von 0 bis 999.999 ein."},
        {CREDIT_RANGE, "Bitte geben Sie eine Zahl von -999.999 bis 999.999 ein."},
        {PRICE_RANGE, "Bitte geben Sie eine Zahl von 0 bis 99.999 ein."},
        {MINUTES_RANGE, "Bitte geben Sie eine Zahl von 0 bis 99.999.999 ein."},
        {UNIT_LENGTH_RANGE, "Bitte geben Sie eine Zahl von 0 bis 32.767 ein."},
        {HOUR_RANGE, "Bitte geben Sie eine Zahl von 0 bis 24 ein."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.range.message(), QString::fromUtf8(c.message));
}

TEST_F(NumberRangeTest, TypedValuesAreRoundedAsTheBoxKeepsThemOrRefused)
{
    const QString nines(400, '9'); // beyond double precision
    const QString amount = AMOUNT_RANGE.message(), count = COUNT_RANGE.message(), credit = CREDIT_RANGE.message();
    const struct {
        std::function<CheckedInput(const QString&)> check;
        QString typed;
        QString shown; // empty: refused with `refusal`
        QString refusal;
    } cases[] = {
        // single precision with every digit its general form keeps; an exponent form would read back as
        // another number
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "7.5", "7,5", {}},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "7,555", "7,555", {}},
        {[](const QString& t) { return TypedSingle(t, PRICE_RANGE); }, "0,0149", "0,0149", {}},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "0,0001", "0,0001", {}},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "0,00001", {}, amount},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "-0,001", {}, amount},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "abc", "0", {}},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "999999", "999999", {}},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "999999,99", {}, amount},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "9" + nines, {}, amount},
        {[](const QString& t) { return TypedSingle(t, AMOUNT_RANGE); }, "1000000000000000,5", {}, amount},
        // plain digits, kept as typed or the single's digits written out: no exponent, so nothing below 0,0001
        // or from 10^7 on reads back as another number; the range holds the number shown
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "0.5", "0,5", {}},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "0,5", "0,5", {}},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "1,5", "1,5", {}},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "0.00001", "0,00001", {}},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "123456789", "123456789", {}},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "999999999999999", "999999999999999", {}},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "999999999999999,5", {}, count},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "0999999999999999.9", {}, count}, // 10^15
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "0,50", "0,5", {}},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "1000000000000000", {}, count},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, "-0.5", {}, count},
        {[](const QString& t) { return TypedPlainSingle(t, COUNT_RANGE); }, nines, {}, count},
        {[](const QString& t) { return TypedPlainSingle(t, AMOUNT_RANGE); }, "0,00005", "0,00005", {}},
        {[](const QString& t) { return TypedPlainSingle(t, AMOUNT_RANGE); }, "999999", "999999", {}},
        {[](const QString& t) { return TypedPlainSingle(t, AMOUNT_RANGE); }, "999999,99", {}, amount},
        {[](const QString& t) { return TypedPlainSingle(t, AMOUNT_RANGE); }, "99999999", {}, amount},
        {[](const QString& t) { return TypedPlainSingle(t, AMOUNT_RANGE); }, "1000000000000000,5", {}, amount},
        // the same as ValDecimal reads typed input: an exponent ends the number
        {[](const QString& t) { return TypedPlainValDecimal(t, COUNT_RANGE); }, "1E+08", "1", {}},
        {[](const QString& t) { return TypedPlainValDecimal(t, COUNT_RANGE); }, "1E+400", "1", {}},
        {[](const QString& t) { return TypedPlainValDecimal(t, COUNT_RANGE); }, "0.5", "0,5", {}},
        {[](const QString& t) { return TypedPlainValDecimal(t, COUNT_RANGE); }, "0.00001", "0,00001", {}},
        {[](const QString& t) { return TypedPlainValDecimal(t, COUNT_RANGE); }, "99999999", "99999999", {}},
        {[](const QString& t) { return TypedPlainValDecimal(t, COUNT_RANGE); }, "1000000000000000", {}, count},
        {[](const QString& t) { return TypedPlainValDecimal(t, COUNT_RANGE); }, "-0.5", {}, count},
        {[](const QString& t) { return TypedPlainValDecimal(t, COUNT_RANGE); }, nines, {}, count},
        // rounded as a box of two decimals shows it (the cost entered by hand)
        {[](const QString& t) { return TypedRounded(t, 2, AMOUNT_RANGE); }, "0,015", "0,02", {}},
        {[](const QString& t) { return TypedRounded(t, 2, AMOUNT_RANGE); }, "0,00001", "0", {}},
        {[](const QString& t) { return TypedRounded(t, 2, AMOUNT_RANGE); }, "-0,001", "0", {}},
        {[](const QString& t) { return TypedRounded(t, 2, AMOUNT_RANGE); }, "10000000", {}, amount},
        {[](const QString& t) { return TypedRounded(t, 2, AMOUNT_RANGE); }, "-0,5", {}, amount},
        {[](const QString& t) { return TypedRounded(t, 2, AMOUNT_RANGE); }, "9" + nines, {}, amount},
        {[](const QString& t) { return TypedRounded(t, 2, CREDIT_RANGE); }, "999999999999999", {}, credit},
        {[](const QString& t) { return TypedRounded(t, 3, AMOUNT_RANGE); }, "0,0125", "0,013", {}},
        // whole numbers: from 10^15 the general form takes an exponent
        {[](const QString& t) { return TypedWhole(t, COUNT_RANGE); }, "12.9 kB", "12", {}},
        {[](const QString& t) { return TypedWhole(t, COUNT_RANGE); }, "abc", "0", {}},
        {[](const QString& t) { return TypedWhole(t, COUNT_RANGE); }, "999999999999999", "999999999999999", {}},
        {[](const QString& t) { return TypedWhole(t, COUNT_RANGE); }, "1000000000000000", {}, count},
        {[](const QString& t) { return TypedWhole(t, COUNT_RANGE); }, "-0.5", {}, count},
        {[](const QString& t) { return TypedWhole(t, COUNT_RANGE); }, nines, {}, count},
        // durations
        {TypedDuration, "0:90:75", "01:31:15", {}},
        {TypedDuration, "9999:59:59", "9999:59:59", {}},
        {TypedDuration, "9999:59:60", {}, DURATION_RANGE_MESSAGE},
        {TypedDuration, "99999999999:99:99", {}, DURATION_RANGE_MESSAGE},
        {TypedDuration, "-05:00:00", {}, DURATION_RANGE_MESSAGE},
        {TypedDuration, "1:-5:00", {}, DURATION_RANGE_MESSAGE},
        {TypedDuration, nines, {}, DURATION_RANGE_MESSAGE},
    };
    for (const auto& c : cases) {
        const CheckedInput got = c.check(c.typed);
        EXPECT_EQ(got.refusal, c.refusal) << c.typed.left(20).toStdString();
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(got.text, c.shown) << c.typed.toStdString();
        }
    }
}
