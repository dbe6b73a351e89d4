// Every hostile tariff file of the corpus through the tariff reader, under the sanitizers.
#include "tariffs/TarifFile.h"

#include "support/TestSupport.h"

namespace {
class TarifCorpusTest : public ProgramTest {};

QByteArray zoneBlocks(int count)
{
    QByteArray bytes = "[Providerdaten]\r\nTakt:60 / 60\r\n[Tarifzonen]\r\n";
    for (int i = 1; i <= count; ++i)
        bytes += "Zone:" + QByteArray::number(i) +
                 "\r\nVon:0\r\nBis:24\r\nPfennig:1\r\nEinheit:60\r\nWochenende:Ja\r\n";
    return bytes;
}
} // namespace

TEST_F(TarifCorpusTest, ReadTarifFile)
{
    QList<CorpusFile> files = CorpusFiles("tariffs");
    files.push_back({"zones-300", zoneBlocks(300)}); // beyond the 8 KiB of a committed corpus file
    files.push_back({"oversize-line", "Password:" + QByteArray(2 << 20, 'p') + "\r\n"});
    const QString name = "Netz - A.tel";
    for (const CorpusFile& f : files) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Tarife/" + name, f.bytes);
        TarifFile t;
        if (f.name == "oversize-line") { // over the 1 MiB cap: damaged, never read whole
            EXPECT_FALSE(ReadTarifFile(name, &t));
            continue;
        }
        ASSERT_TRUE(ReadTarifFile(name, &t));
        EXPECT_EQ(t.provider, "Netz");
        EXPECT_EQ(t.tariff, "A");
        TarifFileLines(t); // what the editor would write back
        if (f.name == "well-formed") {
            ASSERT_EQ(t.zones.size(), 2);
            EXPECT_FLOAT_EQ(t.zones[0].cents, 1.9f);
            EXPECT_TRUE(t.zones[1].weekend);
            EXPECT_EQ(t.password, "geheim");
        }
        if (f.name == "zones-300") {
            EXPECT_EQ(t.zones.size(), 255);
        }
        if (f.name == "zones-100") {
            EXPECT_EQ(t.zones.size(), 100);
        }
        if (f.name == "zone-weekend-odd" || f.name == "zone-cut-short") {
            EXPECT_EQ(t.zones.size(), f.name == "zone-cut-short" ? 1 : 0);
        }
    }
    for (const QString& missing : {QString("Netz - B.tel"), QString("../Tarife/Netz - A.tel"), QString()}) {
        TarifFile t;
        EXPECT_FALSE(ReadTarifFile(missing, &t)) << qPrintable(missing);
    }
}
