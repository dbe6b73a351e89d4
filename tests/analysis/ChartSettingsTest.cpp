#include "analysis/ChartSettings.h"
#include "support/TestSupport.h"

class ChartSettingsTest : public ProgramTest {};

TEST_F(ChartSettingsTest, SavesSevenLinesAndReadsThemBack)
{
    ChartSettings s;
    s.month = 2;
    s.year = 2;
    s.user = "[Alle]";
    s.provider = "[Alle]";
    s.kind = 2;
    s.type = 2;
    ASSERT_TRUE(SaveChartConfig(s));
    EXPECT_EQ(readFile("Config/Chart.cfg"), QByteArray(" 2\r\n 2\r\n[Alle]\r\n[Alle]\r\n\r\n 2\r\n 2\r\n"));
    const std::optional<StoredChartSettings> stored = LoadChartConfig();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->month, 2);
    EXPECT_EQ(stored->year, 2);
    EXPECT_EQ(stored->user, QString("[Alle]"));
    EXPECT_EQ(stored->provider, QString("[Alle]"));
    EXPECT_EQ(stored->tarif, QString(""));
    EXPECT_EQ(stored->kind, 2);
    EXPECT_EQ(stored->type, 2);
}

TEST_F(ChartSettingsTest, NoFileNothingRead)
{
    EXPECT_FALSE(LoadChartConfig());
}

TEST_F(ChartSettingsTest, EachLineStandsAlone)
{
    const struct {
        const char* file;
        std::optional<int> month, year;
        std::optional<QString> user, tarif;
        int kind, type;
    } cases[] = {
        // five lines: kind and type left to the page's defaults
        {" 2\r\n 2\r\n  anna \r\n[Alle]\r\nM - Abend\r\n", 2, 2, "anna", "M - Abend", 0, 0},
        {"11\r\n35\r\n\tanna\r\n[Alle]\r\n[Alle]\r\n 4\r\n 3\r\n", 11, 35, "\tanna", "[Alle]", 4, 3},
        {"2.5\r\n3.5\r\nx\r\ny\r\nz\r\n 6\r\n 0\r\n", 2, 4, "x", "z", 0, 0}, // halves to even; out of range
        {"-1\r\n1e10\r\nx\r\ny\r\nz\r\n 1.4\r\n 2.6\r\n", std::nullopt, 1, "x", "z", 1, 3},
        {"99999999999\r\nzwei\r\n", std::nullopt, 0, std::nullopt, std::nullopt, 0, 0},
        {"", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0, 0},
    };
    for (const auto& c : cases) {
        writeFile("config/CHART.CFG", c.file);
        const std::optional<StoredChartSettings> stored = LoadChartConfig();
        ASSERT_TRUE(stored) << c.file;
        EXPECT_EQ(stored->month, c.month) << c.file;
        EXPECT_EQ(stored->year, c.year) << c.file;
        EXPECT_EQ(stored->user, c.user) << c.file;
        EXPECT_EQ(stored->tarif, c.tarif) << c.file;
        EXPECT_EQ(stored->kind, c.kind) << c.file;
        EXPECT_EQ(stored->type, c.type) << c.file;
    }
}
