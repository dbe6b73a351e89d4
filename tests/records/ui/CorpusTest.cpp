// Every hostile tariff file of the corpus through the cost estimate of a record entered by hand, every
// hostile record through the connection list and its exports, and every hostile settings file through
// the list's readers, under the sanitizers.
#include "core/Globals.h"
#include "records/ConnectionList.h"
#include "records/DifferenceSettings.h"
#include "records/HandEntryCost.h"
#include "records/ListExport.h"
#include "records/ListSettings.h"
#include "records/ListTitle.h"
#include "records/ui/Definiert.h"
#include "records/ui/List.h"

#include "support/TestSupport.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>

namespace {
class HandEntryCorpusTest : public ProgramTest {};
} // namespace

TEST_F(HandEntryCorpusTest, LoadTarifZones)
{
    QList<CorpusFile> files = CorpusFiles("tariffs");
    QByteArray zones300 = "Takt:60 / 60\r\n[Tarifzonen]\r\n";
    for (int i = 0; i < 300; ++i) zones300 += "\r\nVon:0\r\nBis:24\r\nPfennig:1\r\n\r\nWochenende:Ja\r\n";
    files.push_back({"zones-300", zones300}); // beyond the 8 KiB of a committed corpus file
    for (const CorpusFile& f : files) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Tarife/Netz - A.tel", f.bytes);
        HandEntryCost cost;
        const bool loaded = cost.LoadTarifZones("Netz - A.tel");
        if (!loaded) {
            EXPECT_TRUE(cost.ZoneTable.isEmpty() && cost.UnitLength == 0);
        }
        cost.GetZonePrice(QTime(12, 0), QDate(2001, 1, 17));
        QString units;
        const float c = cost.CalculateCost("Netz", "M - A", QDate(2001, 1, 17), QTime(23, 0), 7200, &units);
        EXPECT_GE(c, f.name.contains("negative") ? -1e30f : 0.0f);
        if (f.name == "well-formed") {
            EXPECT_TRUE(loaded);
            EXPECT_EQ(cost.ZoneTable.size(), 2);
            EXPECT_EQ(cost.UnitLength, 60);
        }
        if (f.name == "zones-300" || f.name == "zone-price-nan" || f.name == "zone-hours-over-255") {
            EXPECT_FALSE(loaded);
        }
    }
}

TEST_F(HandEntryCorpusTest, RecordsThroughTheListAndItsExports)
{
    G_Currency = QStringLiteral("€");
    // thresholds of every category, so each record is marked by each quantity
    const QByteArray marking[] = {" 0\r\n", " 1\r\n0\r\n1\r\n2\r\n",
                                  " 2\r\n0\r\n0\r\n0\r\n0:0:0\r\n0:10:0\r\n99:0:0\r\n",
                                  " 3\r\n0\r\n0\r\n0\r\n0:0:0\r\n0:0:0\r\n0:0:0\r\n0\r\n1\r\n2\r\n"};
    for (const CorpusFile& f : CorpusFiles("records")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Verbindungen/17012001-120000.con", f.bytes);
        for (const QByteArray& cfg : marking) {
            writeFile("Config/Difference.cfg", cfg);
            for (bool net : {false, true}) {
                ConnectionListQuery query;
                query.net = net;
                ListMarking marks;
                const ConnectionListResult r = LoadConnectionList(query, marks);
                ASSERT_LE(r.rows.size(), 1u);
                for (const ConnectionRow& row : r.rows) {
                    EXPECT_EQ(row.cells.size(), LIST_COLUMNS);
                    EXPECT_GE(row.icon, 0);
                    EXPECT_LE(row.icon, 3);
                }
                if (f.name == "well-formed" && !net) {
                    ASSERT_EQ(r.rows.size(), 1u);
                    EXPECT_EQ(r.rows[0].cells.mid(1, 12),
                              QStringList({"17.01.2001", "12:00:00", "00:10:00", "0,190", "10", "1000", "200", "1200",
                                           "Netz", "Netz - A", "Anna", ""}));
                    EXPECT_EQ(r.rows[0].icon, QList<int>({0, 1, 1, 2})[cfg.at(1) - '0']);
                    EXPECT_EQ(r.durationText + " " + r.costText, "00:10:00 0,19 €");
                }
                if (f.name == "duration-nine-fields") { // hours of a hundred digits
                    EXPECT_EQ(r.hours, std::numeric_limits<qint64>::max());
                }
            }
        }
        // the page's own load, and what the exports write of it
        List page;
        page.Form_Load();
        EXPECT_EQ(page.rowCount(), f.name.startsWith("well-formed") ? 1 : page.rowCount());
        const QStringList html = HtmlExportLines(page, GetListTitle(page.periodText()));
        const QStringList text = TextExportLines(page);
        EXPECT_FALSE(html.isEmpty());
        EXPECT_FALSE(text.isEmpty());
        if (f.name == "well-formed") {
            EXPECT_EQ(page.lblGesamtDauer->text(), "00:10:00");
            EXPECT_TRUE(html.join('\n').contains("Netz - A"));
        }
    }
}

TEST_F(HandEntryCorpusTest, SettingsFilesOfTheList)
{
    G_Currency = QStringLiteral("€");
    writeCipher("Verbindungen/17012001-120000.con", {"S17.01.2001", "12:00:00", "00:10:00", "S1,00", "10", "1000",
                                                     "200", "1200", "Netz", "Netz - A.tel", "Anna"});
    for (const CorpusFile& f : CorpusFiles("settings")) {
        SCOPED_TRACE(f.name.toStdString());
        for (const char* target : {"Config/Difference.cfg", "Config/Period.cfg", "Config/List.cfg"})
            writeFile(target, f.bytes);
        writeFile("Tax.dat", f.bytes);
        dialogs.messages.clear();
        const DifferenceSettings difference = LoadDifferenceSettings();
        EXPECT_GE(difference.category, 0);
        EXPECT_LE(difference.category, 3);
        const StoredListSettings list = ReadListSettings();
        const int tax = ReadTaxPercent();
        EXPECT_GE(tax, 0);
        EXPECT_LE(tax, 100);
        writeFile("Tax.dat", f.bytes);
        const QString title = GetListTitle("Definiert");
        {
            Definiert dialog;
            dialog.Form_Load();
        }
        ConnectionListQuery query;
        query.period = PeriodDefined;
        query.net = true;
        ListMarking marks;
        const ConnectionListResult defined = LoadConnectionList(query, marks);
        for (const ConnectionRow& row : defined.rows) {
            EXPECT_GE(row.icon, -1);
            EXPECT_LE(row.icon, 3);
        }
        writeFile("Tax.dat", f.bytes);
        {
            List page; // restores period, filters, net mode, sort and columns from List.cfg
            page.Form_Load();
        }

        if (f.name == "difference-well-formed") {
            EXPECT_EQ(difference.category, 2);
            EXPECT_EQ(difference.duration[2], "2:00:00");
            EXPECT_EQ(marks.seconds[1], 3600);
        }
        if (f.name == "difference-durations-huge") {
            EXPECT_EQ(marks.seconds[0], std::numeric_limits<qint64>::max());
            EXPECT_EQ(marks.seconds[1], std::numeric_limits<qint64>::min());
        }
        if (f.name == "period-well-formed") {
            EXPECT_EQ(title, "Verbindungen vom 01.01.2001 bis zum 31.01.2001");
            ASSERT_EQ(defined.rows.size(), 1u);
            EXPECT_EQ(defined.rows[0].cell(ColCost), "0,990"); // "01.01.2001" as Tax.dat: 1 per cent
        }
        if (f.name == "tax-well-formed" || f.name == "tax-fraction") {
            EXPECT_EQ(tax, 16);
        }
        if (f.name == "tax-huge") {
            EXPECT_EQ(tax, 16);
            EXPECT_EQ(dialogs.texts().value(0), TAX_RANGE_MESSAGE);
        }
        if (f.name == "list-well-formed") {
            EXPECT_EQ(list.period, 1);
            EXPECT_EQ(list.user, "Anna");
            EXPECT_EQ(list.net, true);
            EXPECT_EQ(list.widths[12], 60);
            EXPECT_EQ(list.positions[12], 12);
        }
    }
}
