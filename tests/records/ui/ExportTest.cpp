#include "records/ui/Export.h"
#include "records/ConnectionListView.h"
#include "records/ExportCharts.h"
#include "records/ListExport.h"
#include "records/ListTitle.h"
#include "support/FakeListView.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// Three rows of March 2004: hours beyond 99 and bytes beyond 2^31 in total, a 30-character user and a
// 40-character comment.
FakeList marchList()
{
    FakeList l;
    l.rows = {{"", "05.03.2004", "10:00:00", "50:00:00", "12,000", "120", "600000000", "400000000", "1000000000",
               "Büro-Zugang", "Netz-Plus - Abend.atl", "Ein Benutzer mit langem Namen!",
               "Ein Kommentar von genau vierzig Zeichen.", "", ""},
              {"", "04.03.2004", "09:15:30", "49:30:00", "9,500", "95", "1000000000", "500000000", "1500000000",
               "Keine DFÜ Verbindung", "Anbieter - Mondschein.tel", "Supervisor", "Kommentar", "", ""},
              {"", "01.03.2004", "23:59:59", "01:00:00", "0,840", "1", "250000000", "250000000", "500000000", "", "",
               "Supervisor", "", "", ""}};
    return l;
}

QByteArray golden(const char* name)
{
    // __FILE__ is relative to the build folder when the compiler cache rewrites paths; ctest runs elsewhere
    QFile f(QStringLiteral(ZUMBREL_SOURCE_DIR "/tests/data/export/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString Failure = "Fehler beim Erstellen der Datei. Eventuell ist der Datenträger voll oder schreibgeschützt.";
const QString Overwrite = "Die Datei existiert bereits. Wollen Sie sie überschreiben?";
const QString ChartQuestion = "Wollen Sie das Monatsdiagramme eingebunden werden? Diese werden im selben Verzeichnis "
                              "abgespeichert und in die HTML Datei eingebunden. Da sie im BMP Format erstellt werden, "
                              "können sie nur vom Internet Explorer dargestellt werden.";
} // namespace

class ExportTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        clock.set(QDateTime(QDate(2004, 3, 10), QTime(12, 0)));
    }
    void TearDown() override
    {
        SetExportCharts(nullptr);
        ProgramTest::TearDown();
    }
};

TEST_F(ExportTest, FilesEqualTheGoldenOnes)
{
    const FakeList list = marchList();
    Export html(list);
    dialogs.answerSaveFile(" " + path("liste.htm") + " ");
    html.Command1_Click(1);
    EXPECT_EQ(readFile("liste.htm"), golden("list.htm"));
    ASSERT_EQ(dialogs.saveRequests.size(), 1);
    EXPECT_EQ(dialogs.saveRequests[0].title, "Als HTML Datei exportieren...");
    EXPECT_EQ(dialogs.saveRequests[0].defaultSuffix, "htm");
    ASSERT_EQ(dialogs.saveRequests[0].filters.size(), 1);
    EXPECT_EQ(dialogs.saveRequests[0].filters[0].description, "Text Datei (*.htm)");
    EXPECT_EQ(dialogs.saveRequests[0].filters[0].pattern, "*.htm");

    Export text(list);
    dialogs.answerSaveFile(path("liste.txt"));
    text.Command1_Click(0);
    EXPECT_EQ(readFile("liste.txt"), golden("list.txt"));
    EXPECT_EQ(dialogs.saveRequests[1].title, "Als Text exportieren...");
    EXPECT_EQ(dialogs.saveRequests[1].defaultSuffix, "txt");
    EXPECT_EQ(dialogs.texts(),
              QStringList({"Die HTML Datei wurde erfolgreich erstellt.",
                           "Die Text Datei wurde erfolgreich erstellt. Falls sie diese in Ihre Tabellenkalkulation "
                           "importieren wollen, wählen Sie dort den Importfilter 'Text CSV' (oder ähnlich) und Gebeb "
                           "Sie als Trennzeichen '|' ein. Wichtig: Wählen Sie beim importieren in StarOffice nicht "
                           "einfach 'Text' als Importfilter aus sondern 'Text - txt - csv (Star Office Calc)'."}));
    EXPECT_EQ(dialogs.messages[0].icon(), vbInformation);
}

TEST_F(ExportTest, EmptyListAsksForNoFile)
{
    FakeList list;
    Export window(list);
    window.Command1_Click(1);
    EXPECT_EQ(dialogs.texts(), QStringList{"Die Liste enthält keine Einträge."});
    EXPECT_TRUE(dialogs.saveRequests.isEmpty());
}

TEST_F(ExportTest, NoToOverwriteReopensTheDialog)
{
    const FakeList list = marchList();
    writeFile("Alt.TXT", "alt");
    Export window(list);
    dialogs.answerSaveFile(path("alt.txt"));
    dialogs.answerMessage(vbNo);
    dialogs.answerSaveFile(path("alt.txt"));
    dialogs.answerMessage(vbYes);
    window.Command1_Click(0);
    EXPECT_EQ(dialogs.saveRequests.size(), 2);
    EXPECT_EQ(dialogs.texts().mid(0, 2), QStringList({Overwrite, Overwrite}));
    EXPECT_EQ(dialogs.messages[0].style, vbYesNo + vbQuestion);
    // replaced under its own name, no twin in another letter case
    EXPECT_EQ(readFile("Alt.TXT"), golden("list.txt"));
    EXPECT_FALSE(exists("alt.txt"));

    Export cancelled(list);
    cancelled.Command1_Click(0);
    EXPECT_EQ(dialogs.messages.size(), 3); // a cancelled choice writes and says nothing
}

TEST_F(ExportTest, AChosenFileThatIsALinkIsWrittenWhereItLeads)
{
    const FakeList list = marchList();
    writeFile("Ablage/liste.htm", "alt");
    writeFile("Ablage/liste.txt", "alt");
    for (const char* name : {"liste.htm", "liste.txt"})
        ASSERT_TRUE(QFile::link(path("Ablage/") + name, path(name)));
    Export html(list);
    dialogs.answerSaveFile(path("liste.htm"));
    dialogs.answerMessage(vbYes);
    html.Command1_Click(1);
    Export text(list);
    dialogs.answerSaveFile(path("liste.txt"));
    dialogs.answerMessage(vbYes);
    text.Command1_Click(0);
    EXPECT_FALSE(dialogs.texts().contains(Failure));
    EXPECT_EQ(readFile("Ablage/liste.htm"), golden("list.htm"));
    EXPECT_EQ(readFile("Ablage/liste.txt"), golden("list.txt"));
    EXPECT_TRUE(QFileInfo(path("liste.htm")).isSymLink());
    EXPECT_TRUE(QFileInfo(path("liste.txt")).isSymLink());
}

TEST_F(ExportTest, MonthChartsGoThroughTheDiagramWindow)
{
    clock.set(QDateTime(QDate(2004, 1, 15), QTime(12, 0)));
    FakeList list = marchList();
    list.period = "Letzter Monat";
    list.periodIdx = 2;
    list.userIdx = 1;
    list.providerIdx = 2;
    list.tariffIdx = 3;

    // without the diagram window registered no question is asked
    Export plain(list);
    dialogs.answerSaveFile(path("plain.htm"));
    plain.Command1_Click(1);
    EXPECT_EQ(dialogs.texts(), QStringList{"Die HTML Datei wurde erfolgreich erstellt."});

    QList<ExportChartRequest> requests;
    bool drawn = true;
    SetExportCharts([&](const ExportChartRequest& r) {
        requests << r;
        return drawn;
    });
    Export window(list);
    dialogs.answerSaveFile(path("Jan.htm"));
    dialogs.answerMessage(vbYes);
    window.Command1_Click(1);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].monthIndex, 11);
    EXPECT_EQ(requests[0].yearIndex, 2);
    EXPECT_EQ(QList<int>({requests[0].userIndex, requests[0].providerIndex, requests[0].tariffIndex}),
              QList<int>({1, 2, 3}));
    EXPECT_EQ(requests[0].durationPath, path("Jan1.bmp"));
    EXPECT_EQ(requests[0].transferPath, path("Jan2.bmp"));
    EXPECT_EQ(dialogs.texts().mid(1), QStringList({ChartQuestion, "Die HTML Datei wurde erfolgreich erstellt."}));
    const QStringList lines = QString::fromLatin1(readFile("Jan.htm")).split("\r\n");
    EXPECT_EQ(lines[7], "VERBINDUNGEN IM DEZEMBER 2003");
    EXPECT_EQ(lines.mid(10, 8),
              QStringList({"<TR><TD colspan=12 align=center bgcolor=#DDDDDD>", "<FONT size=2><B>",
                           "Monatsdiagramme (Dauer in Minuten / Transfer in Megabyte)", "</B></FONT></TD></TR>",
                           "<TR><TD colspan=12 align=center bgcolor=#FFFFFF>", "<IMG src=\"Jan1.bmp\">",
                           "<IMG src=\"Jan2.bmp\">", "</TD></TR>"}));

    drawn = false;
    Export failing(list);
    dialogs.answerSaveFile(path("fail.htm"));
    dialogs.answerMessage(vbYes);
    failing.Command1_Click(1);
    EXPECT_EQ(dialogs.messages.last().text, Failure);
    EXPECT_EQ(dialogs.messages.last().title, "Fehler");
    EXPECT_EQ(dialogs.messages.last().style, vbExclamation);
    EXPECT_FALSE(exists("fail.htm"));
}

TEST_F(ExportTest, TitlesByPeriod)
{
    clock.set(QDateTime(QDate(2004, 3, 1), QTime(12, 0)));
    const struct {
        const char* period;
        const char* title;
    } cases[] = {
        {"Heute", "Verbindungen am Montag, den 01.03.2004"},
        {"Gestern", "Verbindungen am Sonntag, den 29.02.2004"},
        {"Vorletzter Monat", "Verbindungen im Januar 2004"},
        {"Letztes Jahr", "Verbindungen im Jahr 2003"},
        {"Definiert", "Verbindungen vom 01.03.2004 bis zum 01.03.2004"},
        {"Gesamt", "Alle aufgezeichneten Verbindungen"},
        {"", "Verbindungen"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetListTitle(c.period), c.title) << c.period;
    writeFile("Config/Period.cfg", "1.2.2004\r\n");
    EXPECT_EQ(GetListTitle("Definiert"), "Verbindungen vom 1.2.2004 bis zum ");
    EXPECT_EQ(HtmlExportLines(marchList(), "Straße").value(7), "STRAßE");
}

// What a record, a file name or a choice holds is shown as text: it never becomes markup.
TEST_F(ExportTest, HtmlHoldsDataAsTextAndQuotesItsLinks)
{
    FakeList list = marchList();
    list.rows[0][12] = "<b>x</b> & \"y\"";
    list.rows[1][9] = "<Urlaub>";
    list.user = "<script>alert(1)</script>";
    list.provider = QStringLiteral("Netz☃");
    list.tariff = "A & B";
    const QStringList lines =
        HtmlExportLines(list, QStringLiteral("<i>µ&ƒ</i>"), {"Mein Jan 100% #1?.bmp", "Jan\"2.bmp"});
    EXPECT_EQ(lines[7], QStringLiteral("&lt;I&gt;µ&amp;ƒ&lt;/I&gt;")); // capitals only where the code page has them
    EXPECT_EQ(lines.mid(15, 2), QStringList({"<IMG src=\"Mein Jan 100%25 %231%3F.bmp\">",
                                             "<IMG src=\"Jan&quot;2.bmp\">"}));
    EXPECT_EQ(lines[20], "Benutzer: &lt;script&gt;alert(1)&lt;/script&gt;, Anbieter: Netz&#9731;, Tarif: A &amp; B");
    EXPECT_TRUE(lines.contains("&lt;b&gt;x&lt;/b&gt; &amp; &quot;y&quot;<BR>"));
    EXPECT_TRUE(lines.contains("&lt;Urlaub&gt;<BR>"));
    EXPECT_FALSE(lines.join("").contains("<script>"));
    EXPECT_TRUE(TextExportLines(list).value(2).endsWith(" | <b>x</b> & \"y\"")); // the text export stays plain

    Export window(list); // the whole file is written; no character fails the code page
    dialogs.answerSaveFile(path("liste.htm"));
    window.Command1_Click(1);
    EXPECT_EQ(dialogs.texts().last(), "Die HTML Datei wurde erfolgreich erstellt.");
    EXPECT_TRUE(readFile("liste.htm").contains("Netz&#9731;"));
}
