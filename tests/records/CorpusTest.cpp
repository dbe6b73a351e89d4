// Every hostile tariff file of the corpus through the cost estimate of a record entered by hand.
#include "records/HandEntryCost.h"

#include "support/TestSupport.h"

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
