// Every hostile connection record of the corpus through the walks of the month diagram, the analysis and
// the print page, and every hostile settings file through the diagram's and the print page's readers,
// under the sanitizers.
#include "analysis/Analysis.h"
#include "analysis/ChartSelector.h"
#include "analysis/ChartSettings.h"
#include "analysis/DaySums.h"
#include "analysis/MonthChart.h"
#include "analysis/PrintData.h"
#include "analysis/PrintPage.h"
#include "analysis/RecordingSurface.h"
#include "analysis/ui/Chart.h"
#include "core/Globals.h"
#include "records/ui/List.h"

#include "support/TestSupport.h"

#include <cmath>

namespace {
class AnalysisCorpusTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        ChartWindowState() = {};
        G_Currency = QStringLiteral("€");
    }
    // The print page of the list as the page loads it, in each form, with the differences marked.
    static void print(const List& list)
    {
        for (bool listForm : {true, false}) {
            PrintPageOptions options;
            options.month = 1;
            options.listForm = listForm;
            options.markDifferences = true;
            for (int pair = 1; pair <= 3; ++pair) {
                options.diagramPair = pair;
                RecordingSurface surface(2, 4);
                EXPECT_TRUE(DrawPrintPage(surface, options, list));
                for (const SurfaceCall& call : surface.calls)
                    for (double a : call.args)
                        EXPECT_TRUE(std::isfinite(a)) << qPrintable(call.toString());
            }
        }
    }
};
} // namespace

TEST_F(AnalysisCorpusTest, RecordWalks)
{
    const auto all = [](const QString&, const QString&) { return true; };
    for (const CorpusFile& f : CorpusFiles("records")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Verbindungen/17012001-120000.con", f.bytes);
        for (int kind = 1; kind <= 3; ++kind) {
            const std::array<float, 32> sums = GetMonthDaySums(2001, 1, kind, all);
            for (float v : sums)
                EXPECT_FALSE(std::isnan(v));
            MakeChartDayValues(sums);
        }
        for (int kind = 4; kind <= 5; ++kind)
            CountMonthPie(2001, 1, kind);
        for (const char* user : {"[Alle]", "Anna"}) {
            const AnalysisResult a = BuildAnalysis("Dieser Monat", user);
            EXPECT_EQ(a.sentences.size(), 11);
        }
        {
            Chart chart; // draws the saved or first view; then each kind and type
            chart.Form_Load();
            for (int kind = 1; kind <= 5; ++kind)
                chart.DrawDiagramm(kind, kind <= 3 ? 2 : 3);
        }
        List list;
        list.Form_Load();
        PrintData data(list);
        data.FillMonthCosts(1);
        data.FillMonthTransfer(1);
        data.FillMonthOnlineTime(1);
        data.SumByTariff();
        data.FillPageTitle();
        for (const MonthSeries* m : {&data.MonthCosts, &data.MonthTransfer, &data.MonthOnlineTime})
            EXPECT_GT(m->maximum, 0);
        print(list);

        if (f.name == "well-formed") {
            EXPECT_FLOAT_EQ(data.MonthCosts.value[17], 0.19f);
            ASSERT_EQ(data.Tariffs.size(), 1);
            EXPECT_EQ(data.Tariffs[0].name, "Netz - A");
            EXPECT_EQ(data.Tariffs[0].bytes, 1200);
            EXPECT_EQ(BuildAnalysis("Dieser Monat", "Anna").totalDuration, "00:10:00");
        }
    }
}

TEST_F(AnalysisCorpusTest, SettingsFiles)
{
    writeCipher("Verbindungen/17012001-120000.con", {"S17.01.2001", "12:00:00", "00:10:00", "S1,00", "10", "1000",
                                                     "200", "1200", "Netz", "Netz - A.tel", "Anna"});
    for (const CorpusFile& f : CorpusFiles("settings")) {
        SCOPED_TRACE(f.name.toStdString());
        for (const char* target : {"Config/Chart.cfg", "Config/Difference.cfg", "Config/Period.cfg"})
            writeFile(target, f.bytes);
        const std::optional<StoredChartSettings> stored = LoadChartConfig();
        ASSERT_TRUE(stored.has_value());
        EXPECT_GE(stored->kind, 0);
        EXPECT_LE(stored->kind, 5);
        EXPECT_GE(stored->type, 0);
        EXPECT_LE(stored->type, 3);
        {
            ChartWindowState() = {};
            Chart chart; // restores the stored view, skipping what names no item
            chart.Form_Load();
        }
        writeFile("Config/Chart.cfg", f.bytes);
        List list;
        list.Form_Load();
        print(list);

        if (f.name == "chart-well-formed") {
            EXPECT_EQ(stored->month, 2);
            EXPECT_EQ(stored->year, 0);
            EXPECT_EQ(stored->user, "Anna");
            EXPECT_EQ(stored->tarif, "M - Tag");
            EXPECT_EQ(stored->kind, 2);
            EXPECT_EQ(stored->type, 3);
        }
        if (f.name == "chart-positions-huge") {
            EXPECT_FALSE(stored->month.has_value() || stored->year.has_value());
            EXPECT_EQ(stored->kind + stored->type, 0);
        }
    }
}
