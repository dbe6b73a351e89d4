#include "tariffs/ui/Tarife.h"
#include "core/Globals.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "core/platform/linux/QtDownloader.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"
#include "tariffs/TarifFile.h"
#include "tariffs/ui/Autoupdate.h"
#include "tariffs/ui/Tarifdaten.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace {
TEST(TarifTree, ProvidersAndTheirTariffs)
{
    const TarifTree tree = BuildTarifTree({"Net - a.atl", "Net - b.tel", "Netz - c.tel", "Q - d.txt", "junk.txt",
                                           "Net - e.tel.AbCdEf", "R - f.ATL.x1Y2z3"});
    QStringList shown;
    for (const TarifTreeProvider& p : tree.providers) {
        QStringList rows;
        for (const TarifTreeRow& r : p.tariffs) rows << r.fileName();
        shown << p.name + ":" + rows.join(",");
    }
    EXPECT_EQ(shown, QStringList({"Net:Net - b.tel,Net - a.atl", "Netz:Netz - c.tel", "Q:"}));
    EXPECT_EQ(tree.count, 3);
    EXPECT_EQ(TarifCountText(tree.count), "3 Tarife insgesamt.");
}

class TarifePageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        G_Currency = "€";
    }
    void writeTariff(const QString& file, const QStringList& extra = {})
    {
        TarifFile t = TarifFile::New(ProviderOfFile(file), file.mid(ProviderOfFile(file).size() + 3).chopped(4));
        t.zones = {TarifZone{0, 24, 1.9f, false}, TarifZone{0, 24, 1.9f, true}};
        QStringList lines = TarifFileLines(t);
        for (const QString& line : extra) {
            const QString key = line.section(':', 0, 0) + ":";
            for (QString& l : lines)
                if (l.startsWith(key)) l = line;
        }
        ASSERT_TRUE(WriteTextLines(path("Tarife/" + file), lines));
    }
    std::unique_ptr<Tarife> openPage()
    {
        std::unique_ptr<Tarife> page(new Tarife);
        page->Form_Load();
        QCoreApplication::processEvents(); // the tree is built after the page has been shown
        return page;
    }
    QTreeWidgetItem* row(Tarife& page, const QString& provider, int child = -1)
    {
        for (int i = 0; i < page.lstTarife->topLevelItemCount(); ++i) {
            QTreeWidgetItem* p = page.lstTarife->topLevelItem(i);
            if (p->text(0) == provider) return child < 0 ? p : p->child(child);
        }
        return nullptr;
    }
    void select(Tarife& page, QTreeWidgetItem* item)
    {
        page.lstTarife->clearSelection();
        item->setSelected(true);
    }
};

TEST_F(TarifePageTest, TreeOpensClosedAndCountsTariffs)
{
    for (const char* f : {"Net - a.atl", "Net - b.tel", "Netz - c.tel"}) writeTariff(f);
    writeFile("Tarife/Q - d.txt", "x");
    writeFile("Tarife/junk.txt", "x");
    auto page = openPage();
    ASSERT_EQ(page->lstTarife->topLevelItemCount(), 3);
    QTreeWidgetItem* net = row(*page, "Net");
    ASSERT_TRUE(net);
    EXPECT_EQ(net->child(0)->text(0), "b");
    EXPECT_EQ(net->child(1)->text(0), "a");
    EXPECT_EQ(Tarife::fileOfRow(net->child(1)), "Net - a.atl");
    EXPECT_EQ(row(*page, "Q")->childCount(), 0);
    EXPECT_EQ(page->lblTarif[4]->text(), "3 Tarife insgesamt.");
    EXPECT_FALSE(net->isExpanded());
    page->lstTarife_DblClick(net);
    EXPECT_TRUE(net->isExpanded());
    page->lstTarife_DblClick(net->child(0));
    page->lstTarife_DblClick(net);
    EXPECT_FALSE(net->isExpanded());
    EXPECT_TRUE(page->Picture2->isHidden());
}

TEST_F(TarifePageTest, DetailsOfTimeAndVolumeTariffs)
{
    writeTariff("V - vol.atl", {"Volumenabrechnung:Ja", "Volumenkosten:0,5", "Volumengrenze:0", "Volumeneinheit:10",
                                "Grundgebühr:4.95"});
    // exponent forms read as their values
    writeTariff("Z - A&B.tel", {"Freiminuten:30", "Mindestumsatz:1,5E+01", "Gesprächsgrundgebühr:5E+01"});
    auto page = openPage();
    page->ShowTarif(row(*page, "V", 0));
    EXPECT_EQ(page->lblTarif[0]->text(), "0,0050 €");
    EXPECT_EQ(page->lblTarif[12]->text(), "unbegrenzt");
    EXPECT_EQ(page->lblTarif[1]->text(), "10 MB");
    EXPECT_EQ(page->lblTarif[7]->text(), "4,95 €");
    EXPECT_EQ(page->Label1[30]->text(), "Freitransfer:");
    page->ShowTarif(row(*page, "Z", 0));
    EXPECT_EQ(page->lblTarif[6]->text(), "A&B");
    EXPECT_EQ(page->lblTarif[0]->text(), "0,0190 €");
    EXPECT_EQ(page->lblTarif[12]->text(), "30");
    EXPECT_EQ(page->Label1[20]->text(), "Kosten/Min (jetzt):");
    EXPECT_EQ(page->lblTarif[8]->text(), "15,00 €");
    EXPECT_EQ(page->lblTarif[9]->text(), "0,500 €");
    // a file removed meanwhile leaves the labels and rebuilds the tree
    QFile::remove(path("Tarife/V - vol.atl"));
    page->ShowTarif(row(*page, "V", 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(page->lblTarif[6]->text(), "A&B");
    EXPECT_EQ(page->lblTarif[4]->text(), "1 Tarife insgesamt.");
    // beyond the single range a value is malformed: 0, never "i,nf"
    writeTariff("B - big.tel",
                {"Volumenabrechnung:Ja", "Volumenkosten:1E+400", "Grundgebühr:-1E+400",
                 "Mindestumsatz:1000000000000000000000000000000000000000", "Gesprächsgrundgebühr:1E+39"});
    page->GetTarife();
    page->ShowTarif(row(*page, "B", 0));
    EXPECT_EQ(page->lblTarif[0]->text(), "0,0000 €");
    EXPECT_EQ(page->lblTarif[7]->text(), "0,00 €");
    EXPECT_EQ(page->lblTarif[8]->text(), "0,00 €");
    EXPECT_EQ(page->lblTarif[9]->text(), "0,000 €");
}

TEST_F(TarifePageTest, AutoupdateSettingsFile)
{
    auto page = openPage();
    EXPECT_FALSE(page->comAutoupdate->isEnabled());
    EXPECT_FALSE(exists("Config/Autoupdate.cfg"));
    page->Check3->setChecked(true);
    page->comAutoupdate->setCurrentIndex(2);
    EXPECT_EQ(readFile("Config/Autoupdate.cfg"), " 1\r\n 30\r\n");
    page->Check3->setChecked(false);
    EXPECT_EQ(readFile("Config/Autoupdate.cfg"), " 0\r\n 30\r\n");
    EXPECT_FALSE(page->comAutoupdate->isEnabled());
    writeFile("Config/Autoupdate.cfg", " 1\r\n 14\r\n");
    page = openPage();
    EXPECT_TRUE(page->Check3->isChecked());
    EXPECT_TRUE(page->comAutoupdate->isEnabled());
    EXPECT_EQ(page->comAutoupdate->currentText(), "14 Tage");
    EXPECT_EQ(readFile("Config/Autoupdate.cfg"), " 1\r\n 14\r\n");
}

TEST_F(TarifePageTest, TemplateOfADownloadedTariffTouchesNoFileUnsaved)
{
    writeTariff("P - T.atl");
    const QByteArray downloaded = readFile("Tarife/P - T.atl");
    const struct {
        bool handMade;
        int how; // 0 cancel, 1 close box, 2 save as "U", 3 save as "T"
    } cases[] = {{false, 0}, {true, 0}, {true, 1}, {true, 2}, {false, 3}};
    for (const auto& c : cases) {
        QFile::remove(path("Tarife/P - T.tel"));
        QFile::remove(path("Tarife/P - U.tel"));
        if (c.handMade) writeFile("Tarife/P - T.tel", "hand-made\r\n");
        auto page = openPage();
        select(*page, row(*page, "P", c.handMade ? 1 : 0));
        dialogs.answerMessage(vbYes);
        page->Command1_Click(1);
        ASSERT_TRUE(page->editor) << c.how;
        Tarifdaten& w = *page->editor;
        EXPECT_EQ(w.comAnbieter->currentText(), "P");
        EXPECT_EQ(w.Text1[9 + 3]->text(), "0");
        if (c.how == 0) w.Command1_Click(1);
        if (c.how == 1) w.close();
        if (c.how >= 2) {
            w.Text1[0]->setText(c.how == 2 ? "U" : "T");
            w.Command1_Click(0);
        }
        QCoreApplication::processEvents();
        EXPECT_FALSE(page->editor) << c.how;
        EXPECT_EQ(readFile("Tarife/P - T.atl"), downloaded);
        if (c.handMade)
            EXPECT_EQ(readFile("Tarife/P - T.tel"), "hand-made\r\n") << c.how;
        else
            EXPECT_EQ(exists("Tarife/P - T.tel"), c.how == 3);
        EXPECT_EQ(exists("Tarife/P - U.tel"), c.how == 2);
    }
}

TEST_F(TarifePageTest, DeleteAndRefusals)
{
    writeTariff("P - T.tel");
    auto page = openPage();
    page->Command1_Click(2);
    page->Command1_Click(1); // nothing selected: nothing happens
    select(*page, row(*page, "P", 0));
    dialogs.answerMessage(vbNo);
    page->Command1_Click(2);
    EXPECT_TRUE(exists("Tarife/P - T.tel"));
    dialogs.answerMessage(vbYes);
    page->Command1_Click(2);
    EXPECT_FALSE(exists("Tarife/P - T.tel"));
    EXPECT_EQ(row(*page, "P")->childCount(), 0);
    EXPECT_EQ(dialogs.texts().value(0), "Es ist kein Tarif zum löschen ausgewählt.");
    EXPECT_EQ(dialogs.texts().value(1).left(30), "Wollen Sie den ausgewählten Ta");
    EXPECT_EQ(dialogs.texts().size(), 3);
}
} // namespace

namespace {
TEST_F(TarifePageTest, CheckNowWithoutServerList)
{
    auto page = openPage();
    page->lblLink_Click();
    // the missing list has its own message; "nothing new" would claim that a server answered
    EXPECT_EQ(dialogs.texts(), QStringList{"Kann die Datei 'Servers.dat' nicht finden. Diese ist nötig um "
                                           "Tarifupdates durchführen zu können. Sie wird bei der Installation "
                                           "erstellt."});
    QCoreApplication::processEvents();
    EXPECT_FALSE(Autoupdate::instance());
}

TEST_F(TarifePageTest, CheckNowTellsNoServerReachedFromNothingNew)
{
    QtDownloader downloader(2000);
    SetDownloader(&downloader);
    auto page = openPage();
    QString closedPort;
    {
        LoopbackServer gone(Http("200 OK", ""));
        closedPort = gone.url("");
    }
    writeFile("Servers.dat", (closedPort + "\r\nhttp://127.0.0.1:1\r\n").toLatin1());
    page->lblLink_Click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Es konnte keiner der Update-Server erreicht werden.");
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    QCoreApplication::processEvents();
    EXPECT_FALSE(Autoupdate::instance());

    LoopbackServer server({{"/update.txt", Http("200 OK", "*U*3\n[0001]\n<tel/a|X - A.atl>\n")}});
    writeFile("Config/Update.cfg", " 1\r\n01.01.2001\r\n"); // [0001] taken already
    writeFile("Servers.dat", (closedPort + "\r\n" + server.url("") + "\r\n").toLatin1());
    page->lblLink_Click();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1].text, "Keine neuen Tarife gefunden.");
    EXPECT_EQ(dialogs.messages[1].style, int(vbOKOnly));
    SetDownloader(nullptr);
}
} // namespace
