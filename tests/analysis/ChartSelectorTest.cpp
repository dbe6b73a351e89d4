#include "analysis/ChartSelector.h"
#include "core/VB.h"

#include <gtest/gtest.h>

namespace {
using Tarif = ChartSelector::TarifEnabling;

QString marks(const ChartSelector& s)
{
    QStringList m;
    for (int i = 0; i < CHART_BUTTONS; ++i)
        if (s.marked(i)) m << ChartButtonCaption(i);
    return m.join(',');
}

QString disabled(const ChartSelector& s)
{
    QStringList m;
    for (int i = 0; i < CHART_BUTTONS; ++i)
        if (!s.enabled(i)) m << ChartButtonCaption(i);
    return m.join(',');
}
} // namespace

TEST(ChartSelector, ClicksKeepKindAndTypeAPair)
{
    // "Dauer" with "Linien", then "Anbieter", then "Kosten", with or without a provider chosen
    for (const bool provider : {false, true}) {
        ChartState state;
        ChartSelector s(state);
        EXPECT_EQ(marks(s), "Balken,Kosten"); // as the page is laid out
        EXPECT_EQ(disabled(s), "");
        ASSERT_TRUE(s.Click(5, provider));
        ASSERT_TRUE(s.Click(0, provider));
        EXPECT_EQ(QList<int>({state.kind, state.type, state.lastLineBarType}), QList<int>({1, 1, 1}));

        ASSERT_TRUE(s.Click(3, provider));
        EXPECT_EQ(QList<int>({state.kind, state.type}), QList<int>({4, 3}));
        EXPECT_EQ(marks(s), "Kreis,Anbieter");
        EXPECT_EQ(disabled(s), "Linien,Balken");
        EXPECT_FALSE(s.userAndProviderEnabled());
        EXPECT_EQ(s.tarifEnabling(), Tarif::Disable);
        EXPECT_FALSE(s.Click(0, provider)); // greyed buttons ignore clicks
        EXPECT_FALSE(s.Click(1, provider));
        EXPECT_EQ(state.type, 3);

        ASSERT_TRUE(s.Click(6, provider));
        EXPECT_EQ(QList<int>({state.kind, state.type}), QList<int>({2, 1}));
        EXPECT_EQ(marks(s), "Linien,Kosten");
        EXPECT_EQ(disabled(s), "Kreis");
        EXPECT_TRUE(s.userAndProviderEnabled());
        EXPECT_EQ(s.tarifEnabling(), provider ? Tarif::Enable : Tarif::Keep);
        EXPECT_FALSE(s.Click(2, provider));
        EXPECT_TRUE(s.Click(6, provider)); // a marked button selects again
    }
}

TEST(ChartSelector, LeavingAPieReturnsToTheLastLineOrBarTypeOfTheRun)
{
    const struct {
        int lastLineBarType; // from an earlier opening of the page in this run
        int storedKind, storedType;
        int typeAfterTransfer;
    } cases[] = {{0, 4, 3, 2}, {1, 5, 3, 1}, {2, 4, 3, 2}, {1, 2, 2, 2}};
    for (const auto& c : cases) {
        ChartState state;
        state.lastLineBarType = c.lastLineBarType;
        ChartSelector s(state); // a new opening: the band as laid out
        s.SelectChartKind(ChartKindButton(c.storedKind), false);
        s.SelectChartType(c.storedType - 1);
        s.Click(7, false);
        EXPECT_EQ(QList<int>({state.kind, state.type}), QList<int>({3, c.typeAfterTransfer})) << c.storedKind;
    }
    // a stored kind's button, and nothing for a kind outside 1-5
    const int buttons[7] = {-1, 5, 6, 7, 3, 4, -1};
    for (int kind = 0; kind <= 6; ++kind) EXPECT_EQ(ChartKindButton(kind), buttons[kind]) << kind;
}

TEST(ChartSelector, YearListRunsToThisYearAfter2030)
{
    const QStringList to2030 = ChartYearItems(2004);
    ASSERT_EQ(to2030.size(), 30);
    EXPECT_EQ(to2030.first(), "2001");
    EXPECT_EQ(to2030.last(), "2030");
    EXPECT_EQ(ChartYearItems(2031).size(), 31);
    EXPECT_EQ(ChartYearItems(2031).last(), "2031");
    EXPECT_EQ(GermanMonthNames().value(2), "März");
}
