// Every hostile tariff file, update list and update setting of the corpus through their readers, under the
// sanitizers.
#include "core/TextFile.h"
#include "core/platform/sim/SimDownloader.h"
#include "tariffs/TarifFile.h"
#include "tariffs/TarifTree.h"
#include "tariffs/UpdateCheck.h"

#include "support/TestSupport.h"

#include <limits>

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

TEST_F(TarifCorpusTest, UpdateLists)
{
    SimDownloader web;
    SetDownloader(&web);
    writeFile("Servers.dat", "http://a\r\n");
    writeFile("Revision.dat", "3.3\r\n");
    for (const CorpusFile& f : CorpusFiles("updatelist")) {
        SCOPED_TRACE(f.name.toStdString());
        web.pages["http://a/update.txt"] = f.bytes;
        writeFile(UPDATE_STATE_FILE, " 0\r\n01.01.2001\r\n");
        QString firstLine;
        const UpdateWalk walk = WalkUpdateServers(LoadUpdateState(), [&](const QString& line) {
            firstLine = line;
            IsNewerRevision(line);
        });
        EXPECT_FALSE(exists(UPDATE_LIST_FILE));
        ASSERT_EQ(walk.urls.size(), walk.fileNames.size());
        for (const QString& name : walk.fileNames)
            EXPECT_TRUE(IsUpdateFileName(name)) << qPrintable(name);
        EXPECT_GE(walk.updateNumber, 0);
        EXPECT_LT(walk.updateNumber, std::numeric_limits<qint32>::max());
        // the list as a user who has taken every update reads it
        writeFile(UPDATE_LIST_FILE, f.bytes);
        ConvertLineEnds(path(UPDATE_LIST_FILE));
        const UpdateListContent list =
            ParseUpdateList(ReadTextLines(path(UPDATE_LIST_FILE)), std::numeric_limits<qint32>::max());
        EXPECT_TRUE(list.entries.isEmpty());

        if (f.name.startsWith("well-formed")) {
            EXPECT_EQ(walk.fileNames, QStringList({"Netz - Tag.atl", "Ost - Abend.atl"}));
            EXPECT_EQ(walk.urls, QStringList({"http://a/tel/netz-tag.atl", "http://a/tel/ost-abend.atl"}));
            EXPECT_EQ(walk.updateNumber, 2);
            EXPECT_EQ(firstLine, "*U*   12");
        }
        if (f.name == "names-hostile") {
            EXPECT_EQ(walk.fileNames, QStringList{"Netz - Tag.ATL"});
        }
        if (f.name == "no-marker") {
            EXPECT_TRUE(walk.fileNames.isEmpty());
            EXPECT_TRUE(firstLine.isNull());
        }
    }
    SetDownloader(nullptr);
}

TEST_F(TarifCorpusTest, UpdateSettings)
{
    for (const CorpusFile& f : CorpusFiles("settings")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Config/Autoupdate.cfg", f.bytes);
        writeFile(UPDATE_STATE_FILE, f.bytes);
        const AutoupdateSettings autoupdate = LoadAutoupdateSettings();
        const qint32 taken = LoadUpdateState();
        EXPECT_GE(autoupdate.interval, 0);
        EXPECT_LE(autoupdate.interval, 2);
        EXPECT_GE(taken, 0);
        EXPECT_LT(taken, std::numeric_limits<qint32>::max());
        if (f.name == "autoupdate-well-formed") {
            EXPECT_TRUE(autoupdate.on);
            EXPECT_EQ(autoupdate.interval, 1);
        }
        if (f.name == "update-well-formed" || f.name == "update-number-huge") {
            EXPECT_EQ(taken, f.name.endsWith("formed") ? 12 : std::numeric_limits<qint32>::max() - 1);
        }
    }
}
