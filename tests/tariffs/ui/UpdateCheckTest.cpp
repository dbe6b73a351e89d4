#include "core/ProgramFolder.h"
#include "core/platform/linux/QtDownloader.h"
#include "core/ui/WindowUtils.h"
#include "tariffs/UpdateCheck.h"
#include "tariffs/ui/Autoupdate.h"
#include "tariffs/ui/Tarife.h"

#include "support/LoopbackServer.h"
#include "support/WaitingDownloader.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace {
// The list of server b: two sections with four entries, of which two are downloaded tariffs.
const QByteArray LIST_B = "*U*x4\n[0001]\n<tel/a/b.atl|X - Y.atl>\n[0002]\n<tel/c|X - Z.atl>\n<tel/d|../x.atl>\n"
                          "<tel/e|X - W.tel>\n";

class UpdateCheckTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetDownloader(&web);
    }
    void TearDown() override
    {
        if (Autoupdate* window = Autoupdate::instance()) delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetDownloader(nullptr);
        ProgramTest::TearDown();
    }
    void threeServers()
    {
        writeFile("Servers.dat", "http://a\r\nhttp://b\r\nhttp://c\r\n");
        web.pages["http://b/update.txt"] = LIST_B;
        web.pages["http://c/update.txt"] = "*U*x4\r\n[0001]\r\n<tel/q|Q - Q.atl>\r\n";
        web.pages["http://b/tel/a/b.atl"] = "Anbieter:X\nTarif:Y\n";
        web.pages["http://b/tel/c"] = "Anbieter:X\r\nTarif:Z\r\n";
    }
    static QStringList texts(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    WaitingDownloader web;
};
} // namespace

TEST(UpdateCheck, ConvertLineEndsEndsEveryLineWithCrLf)
{
    QTemporaryDir dir;
    const QString file = dir.path() + "/t.atl";
    const struct {
        QByteArray in, out;
    } cases[] = {
        {"a\nb\rc\r\n", "a\r\nb\r\nc\r\n"},
        {"a\nb\rc\n", "a\r\nb\r\nc\r\n"}, // a final LF adds no empty line
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a", "a\r\n"},
        {"", ""},
        {"\n", "\r\n"},
        {"a\r\r\nb\n\nc", "a\r\n\r\nb\r\n\r\nc\r\n"},
        {"\xe4\x80\r", "\xe4\x80\r\n"}, // bytes, not text
    };
    for (const auto& c : cases) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.in);
        f.close();
        EXPECT_TRUE(ConvertLineEnds(file)) << c.in.toStdString();
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.out) << c.in.toStdString();
        f.close();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"t.atl"});
    EXPECT_FALSE(ConvertLineEnds(dir.path() + "/fehlt.atl"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/fehlt.atl"));
}

TEST(UpdateCheck, ListGrammar)
{
    EXPECT_EQ(SectionLine(1), "[0001]");
    EXPECT_EQ(SectionLine(13), "[0013]");
    EXPECT_EQ(SectionLine(12345), "[12345]");

    const struct {
        qint32 lastTaken;
        QStringList lines;
        bool valid;
        qint32 number;
        QStringList entries; // path|name
    } cases[] = {
        {12, {"*U*x4", "[13]", "<tel/a|A - a.atl>"}, true, 13, {}},
        {12, {"*U*x4", "[ 0013]", "<tel/a|A - a.atl>"}, true, 13, {}},
        {12, {"*U*x4", "[0013]", "<tel/a|A - a.atl>"}, true, 13, {"tel/a|A - a.atl"}},
        {12, {"*u*x4", "[0013]", "<tel/a|A - a.atl>"}, false, 0, {}},
        {0, {"*U*x4", "<tel/a|A - a.atl>", "[0001]", "[0003]", "<tel/b|B - b.atl>", "[0002]"}, true, 2,
         {"tel/b|B - b.atl"}}, // entries before the section are not taken; the last section line counts
        {0, {"*U*", "[0001]", "<TEL/a|A - a.atl>", " <tel/b|B - b.atl>", "<tel/c|C - c.atl", "<tel/d>"}, true, 1, {}},
        {0, {"*U*", "[0001]", "<tel/a|A - a.ATL>", "<tel/b|C - c.atlx", "<tel|>", "<tel/e|>>"}, true, 1,
         {"tel/a|A - a.ATL", "tel/b|C - c.atl"}},
        {0,
         {"*U*", "[0001]", "<tel/a|../x.atl>", "<tel/b|X - W.tel>", "<tel/c|a/b.atl>", "<tel/d|C:x.atl>",
          "<tel/e|..>>", "<tel/f|" + QString(252, 'n') + ".atl>"},
         true, 1, {}},
        {2147483646, {"*U*", "[2147483647]", "[99999999999]", "<tel/a|A - a.atl>"}, true, 2147483646,
         {"tel/a|A - a.atl"}},
    };
    for (const auto& c : cases) {
        const UpdateListContent list = ParseUpdateList(c.lines, c.lastTaken);
        SCOPED_TRACE(c.lines.join(" / ").toStdString());
        EXPECT_EQ(list.valid, c.valid);
        EXPECT_EQ(list.updateNumber, c.number);
        QStringList entries;
        for (const UpdateEntry& e : list.entries) entries << e.path + "|" + e.fileName;
        EXPECT_EQ(entries, c.entries);
    }
}

TEST_F(UpdateCheckTest, UpdateStateAndProgramRevision)
{
    EXPECT_EQ(LoadUpdateState(), 0);
    const struct {
        QByteArray file;
        qint32 number;
    } states[] = {{"", 0}, {" 12\r\n01.01.2001\r\n", 12}, {"12.6\r\n", 13}, {"-5\r\n", 0}, {"x\r\n", 0},
                  {"2147483647\r\n", 2147483646}, {"99999999999\r\n", 2147483646}};
    for (const auto& s : states) {
        writeFile("Config/Update.cfg", s.file);
        EXPECT_EQ(LoadUpdateState(), s.number) << s.file.toStdString();
    }
    EXPECT_TRUE(SaveUpdateState(2));
    EXPECT_EQ(readFile("Config/Update.cfg"), " 2\r\n17.01.2001\r\n");

    EXPECT_FALSE(IsNewerRevision("*U*x4")); // no Revision.dat
    writeFile("Revision.dat", "");
    EXPECT_FALSE(IsNewerRevision("*U*x4"));
    writeFile("Revision.dat", "3.3\r\n");
    EXPECT_TRUE(IsNewerRevision("*U*x4"));
    EXPECT_FALSE(IsNewerRevision("*U*x3.10")); // 3.1
    EXPECT_FALSE(IsNewerRevision("*U*x3.3"));
    EXPECT_TRUE(IsNewerRevision("*U* 3.31"));
}

TEST_F(UpdateCheckTest, FirstServerFailsSecondOffersTwoThirdIsNotAsked)
{
    threeServers();
    Autoupdate* window = Autoupdate::load();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->CheckForUpdates());
    EXPECT_EQ(texts(window->List2), QStringList({"X - Y.atl", "X - Z.atl"}));
    EXPECT_EQ(texts(window->List1), QStringList({"http://b/tel/a/b.atl", "http://b/tel/c"}));
    EXPECT_EQ(window->markedCount(), 2);
    EXPECT_EQ(window->UpdateNumber, 2);
    EXPECT_EQ(web.calls, QStringList({"http://a/update.txt -> " + path("update.txt"),
                                      "http://b/update.txt -> " + path("update.txt")}));
    EXPECT_FALSE(exists("update.txt"));
    EXPECT_FALSE(exists("update.txt.tmp"));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // checked again while loaded: the same two, not four
    EXPECT_TRUE(window->CheckForUpdates());
    EXPECT_EQ(window->List2->count(), 2);

    QPointer<Autoupdate> guard(window);
    Tarife page; // open: its tree lists the new files
    RegisterForm(&page); // as the main window does
    page.Form_Load();
    page.GetTarife();
    EXPECT_EQ(page.lblTarif[4]->text(), "0 Tarife insgesamt.");
    window->Command1_Click(0);
    EXPECT_EQ(page.lblTarif[4]->text(), "2 Tarife insgesamt.");
    EXPECT_EQ(readFile("Tarife/X - Y.atl"), "Anbieter:X\r\nTarif:Y\r\n");
    EXPECT_EQ(readFile("Tarife/X - Z.atl"), "Anbieter:X\r\nTarif:Z\r\n");
    EXPECT_EQ(readFile("Config/Update.cfg"), " 2\r\n17.01.2001\r\n");
    EXPECT_EQ(QDir(path("Tarife")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"X - Y.atl", "X - Z.atl"}));
    EXPECT_FALSE(exists("update.txt"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(Autoupdate::instance(), nullptr);
    settle();
    EXPECT_FALSE(guard);

    // the update taken: the next check looks for [0003]
    EXPECT_TRUE(Autoupdate::load()->CheckForUpdates());
    EXPECT_EQ(Autoupdate::instance()->List2->count(), 0);
}

TEST_F(UpdateCheckTest, FailedDownloadKeepsTheStateAndTheTariffsAreOfferedAgain)
{
    threeServers();
    writeFile("Config/Update.cfg", " 0\r\n01.01.2000\r\n");
    web.pages.remove("http://b/tel/a/b.atl");
    Autoupdate::load()->CheckForUpdates();
    Autoupdate::instance()->DownloadTarife();
    EXPECT_EQ(dialogs.texts(), QStringList{"Nicht alle Tarife konnten heruntergeladen werden. Sie werden beim "
                                           "nächsten Update erneut angeboten."});
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_EQ(readFile("Config/Update.cfg"), " 0\r\n01.01.2000\r\n");
    EXPECT_FALSE(exists("Tarife/X - Y.atl"));
    EXPECT_TRUE(exists("Tarife/X - Z.atl"));
    EXPECT_EQ(Autoupdate::instance(), nullptr);
    settle();

    Autoupdate* window = Autoupdate::load();
    window->CheckForUpdates();
    EXPECT_EQ(texts(window->List2), QStringList({"X - Y.atl", "X - Z.atl"}));
}

TEST_F(UpdateCheckTest, MessagesForMissingServersAndNothingToDownload)
{
    threeServers();
    Autoupdate* window = Autoupdate::load();
    window->CheckForUpdates();
    QFile::remove(path("Servers.dat"));
    EXPECT_TRUE(window->CheckForUpdates());
    EXPECT_EQ(window->List2->count(), 0); // nothing left over from the check before
    window->Command1_Click(0);
    window->CheckForUpdates();
    ASSERT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(dialogs.messages[0].text, "Kann die Datei 'Servers.dat' nicht finden. Diese ist nötig um Tarifupdates "
                                        "durchführen zu können. Sie wird bei der Installation erstellt.");
    EXPECT_EQ(dialogs.messages[1].text, "Keine Tarife zum herunterladen vorhanden.");
    for (const MessageRequest& m : dialogs.messages) EXPECT_EQ(m.style, vbOKOnly + vbExclamation);

    threeServers();
    window->CheckForUpdates();
    for (int i = 0; i < 2; ++i) window->List2->item(i)->setCheckState(Qt::Unchecked);
    window->Command1_Click(0);
    EXPECT_EQ(dialogs.messages.last().text, "Keine Tarife zum herunterladen markiert!");
    EXPECT_EQ(dialogs.messages.last().style, vbOKOnly + vbExclamation);
    EXPECT_EQ(Autoupdate::instance(), window); // the window stays
    EXPECT_FALSE(exists("Config/Update.cfg"));
    EXPECT_FALSE(exists("Tarife"));

    window->List2->item(1)->setCheckState(Qt::Checked); // only the marked one; the state moves all the same
    window->Command1_Click(0);
    EXPECT_EQ(QDir(path("Tarife")).entryList(QDir::Files), QStringList{"X - Z.atl"});
    EXPECT_EQ(readFile("Config/Update.cfg"), " 2\r\n17.01.2001\r\n");
}

TEST_F(UpdateCheckTest, CancelStopsAfterTheCurrentFileAndNoCheckRunsMeanwhile)
{
    threeServers();
    Autoupdate* window = Autoupdate::load();
    QPointer<Autoupdate> guard(window);
    int nested = 0;
    web.during = [&](const QString&) {
        ++nested;
        EXPECT_FALSE(window->CheckForUpdates()); // a second check while this one waits touches nothing
    };
    window->CheckForUpdates();
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(window->List2->count(), 2);

    window->show();
    web.during = [&](const QString& url) {
        EXPECT_FALSE(window->CheckForUpdates());
        EXPECT_EQ(window->List2->count(), 2);
        EXPECT_TRUE(window->Picture1->isVisible());
        if (url.endsWith("b.atl")) window->Command2_Click();
        EXPECT_EQ(Autoupdate::instance(), window); // still in use by the download
        EXPECT_TRUE(window->busy());
    };
    window->Command1_Click(0);
    EXPECT_EQ(web.calls.last(), "http://b/tel/a/b.atl -> " + path("Tarife/X - Y.atl"));
    EXPECT_EQ(readFile("Tarife/X - Y.atl"), "Anbieter:X\r\nTarif:Y\r\n"); // the current file is finished
    EXPECT_FALSE(exists("Tarife/X - Z.atl"));
    EXPECT_FALSE(exists("Config/Update.cfg"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(Autoupdate::instance(), nullptr);
    settle();
    EXPECT_FALSE(guard);
}

TEST_F(UpdateCheckTest, ServedOverTheLoopback)
{
    SetDownloader(nullptr);
    QtDownloader downloader(2000);
    SetDownloader(&downloader);
    LoopbackServer server({{"/update.txt", Http("200 OK", LIST_B)},
                           {"/tel/a/b.atl", Http("200 OK", "Anbieter:X\nTarif:Y")},
                           {"/tel/c", Http("200 OK", "Anbieter:X\r\nTarif:Z\r\n")}});
    writeFile("Servers.dat", (server.url("") + "\r\n").toLatin1());
    Autoupdate* window = Autoupdate::load();
    window->CheckForUpdates();
    EXPECT_EQ(texts(window->List2), QStringList({"X - Y.atl", "X - Z.atl"}));
    window->DownloadTarife();
    EXPECT_EQ(server.paths(), QList<QByteArray>({"/update.txt", "/tel/a/b.atl", "/tel/c"}));
    EXPECT_EQ(readFile("Tarife/X - Y.atl"), "Anbieter:X\r\nTarif:Y\r\n");
    EXPECT_EQ(readFile("Config/Update.cfg"), " 2\r\n17.01.2001\r\n");
    EXPECT_FALSE(exists("update.txt"));
}

TEST_F(UpdateCheckTest, RevisionIsReadWhereItShipsServersFromTheUserFirst)
{
    writeFile("data/Revision.dat", "9\r\n"); // an old copy in the data folder never counts
    writeFile("inst/Revision.dat", "3.3\r\n");
    writeFile("inst/Servers.dat", "http://inst\r\n");
    SetProgramFolder(path("data"));
    SetInstallationFolder(path("inst"));
    EXPECT_TRUE(IsNewerRevision("*U*x4"));
    writeFile("inst/Revision.dat", "5\r\n"); // an upgrade
    EXPECT_FALSE(IsNewerRevision("*U*x4"));
    EXPECT_EQ(ServersFilePath(), path("inst/Servers.dat"));
    writeFile("data/Servers.dat", "http://eigener\r\n");
    EXPECT_EQ(ServersFilePath(), path("data/Servers.dat"));
}
