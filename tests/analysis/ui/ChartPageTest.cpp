#include "analysis/ChartSettings.h"
#include "analysis/DrawSurface.h"
#include "analysis/MonthDiagram.h"
#include "analysis/ui/Chart.h"
#include "core/Globals.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"
#include "records/ExportCharts.h"
#include "records/ui/Export.h"
#include "records/ui/List.h"
#include "support/BudgetRecordBuilder.h"
#include "support/TestSupport.h"
#include "support/ui/WidgetHelpers.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>

#include <memory>

namespace {
const QByteArray MARCH_COSTS = " 2\r\n 2\r\n[Alle]\r\n[Alle]\r\n\r\n 2\r\n 2\r\n";

class ChartPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        ChartWindowState() = {}; // a new program run
        G_Currency = QStringLiteral("€");
        clock.set(QDateTime(QDate(2004, 1, 15), QTime(12, 0)));
    }
    void record(const QString& name, const QString& cost, const QString& user = "Anna",
                const QString& tariff = "Alpha - Abend.tel", const QString& duration = "00:10:00")
    {
        ASSERT_TRUE(WriteTestRecord(dir.path(), {name, cost, user, duration, "1000000", tariff}));
    }
    static std::unique_ptr<Chart> open()
    {
        auto page = std::make_unique<Chart>();
        page->Form_Load();
        return page;
    }
    static QString marks(const Chart& page)
    {
        QStringList m;
        for (const QToolButton* b : page.Image1)
            if (b->font().underline() && b->palette().color(QPalette::Active, QPalette::ButtonText) == QColor(192, 0, 0))
                m << b->text();
        return m.join(',');
    }
    static QString greyed(const Chart& page)
    {
        QStringList m;
        for (const QToolButton* b : page.Image1)
            if (!b->isEnabled()) m << b->text();
        return m.join(',');
    }
    // What the page must show: the same routine on a fresh picture.
    static QImage expected(int kind, int type, int year, int month, const RecordSelection& selection = {})
    {
        QImage image = NewChartPicture();
        PainterSurface surface(&image);
        DrawChart(surface, kind, type, year, month, selection);
        return image;
    }
};
} // namespace

TEST_F(ChartPageTest, FirstOpeningWithoutFilesDrawsOnlineTimeAsBars)
{
    auto page = open();
    EXPECT_EQ(FlatDecorated(page.get()), (QStringList{"comUser", "comZeitraum", "comAnbieter", "comTarif", "comJahr"}));
    EXPECT_EQ(page->comZeitraum->currentText(), "Januar");
    EXPECT_EQ(page->comJahr->currentText(), "2004");
    EXPECT_EQ(page->comUser->currentText(), "[Alle]");
    EXPECT_EQ(page->comAnbieter->currentText(), "[Alle]");
    EXPECT_EQ(page->comTarif->count(), 0);
    EXPECT_FALSE(page->comTarif->isEnabled());
    EXPECT_EQ(QList<int>({ChartWindowState().kind, ChartWindowState().type}), QList<int>({1, 2}));
    EXPECT_EQ(marks(*page), "Balken,Dauer");
    EXPECT_EQ(greyed(*page), "Kreis");
    EXPECT_EQ(page->AxisX->text(), "X: Tage");
    EXPECT_EQ(page->AxisY->text(), "Y: Dauer (Min)");
    EXPECT_TRUE(page->Label3->isHidden());
    EXPECT_EQ(page->Picture2->image, expected(1, 2, 2004, 1));
    EXPECT_FALSE(exists("Config/Chart.cfg")); // loading draws but saves nothing

    clock.set(QDateTime(QDate(2031, 5, 2), QTime(12, 0)));
    page = open();
    EXPECT_EQ(page->comJahr->currentText(), "2031");
    EXPECT_EQ(page->comJahr->currentIndex(), 30);
}

TEST_F(ChartPageTest, DrawsTheListsChoiceAndSavesEveryChange)
{
    record("03032003-100000.con", "S99,50");
    record("04032003-100000.con", "S5,00", "Bert");
    writeFile("Benutzer/Anna.usr", "");
    writeFile("Benutzer/Bert.usr", "");
    auto page = open();
    page->Image1_Click(6); // "Kosten"
    page->comZeitraum->setCurrentIndex(2);
    page->comJahr->setCurrentIndex(2);
    EXPECT_EQ(readFile("Config/Chart.cfg"), MARCH_COSTS);
    EXPECT_EQ(page->Picture2->image, expected(2, 2, 2003, 3));
    EXPECT_EQ(page->Picture2->image.pixelColor(72, 100), QColor(0, 100, 180)); // the bar of 3 March
    EXPECT_EQ(page->AxisY->text(), "Y: Kosten (€)");

    page->comUser->setCurrentIndex(page->comUser->findText("Bert"));
    EXPECT_EQ(page->Picture2->image, expected(2, 2, 2003, 3, {"Bert", "[Alle]", "[Alle]"}));
    EXPECT_NE(page->Picture2->image.pixelColor(72, 100), QColor(0, 100, 180));

    // a provider fills the tariff list, selects "[Alle]" there and saves
    writeFile("Tarife/Alpha - Abend.tel", "");
    writeFile("Tarife/Alpha - Tag.atl", "");
    page->GetTarife();
    page->comAnbieter->setCurrentIndex(1);
    EXPECT_TRUE(page->comTarif->isEnabled());
    EXPECT_EQ(page->comTarif->currentText(), "[Alle]");
    EXPECT_EQ(page->comTarif->count(), 3);
    EXPECT_EQ(readFile("Config/Chart.cfg"), " 2\r\n 2\r\nBert\r\nAlpha\r\n[Alle]\r\n 2\r\n 2\r\n");

    // a pie: the filters step aside and the legend's total shows
    page->Image1_Click(4);
    EXPECT_FALSE(page->comUser->isEnabled());
    EXPECT_FALSE(page->comAnbieter->isEnabled());
    EXPECT_FALSE(page->comTarif->isEnabled());
    EXPECT_TRUE(page->comJahr->isEnabled());
    EXPECT_EQ(page->AxisX->text(), "Gesamt:");
    EXPECT_EQ(page->AxisY->text(), "2 Verbind.");
    EXPECT_EQ(marks(*page), "Kreis,Benutzer");
    EXPECT_EQ(greyed(*page), "Linien,Balken");
    page->Image1_Click(7); // back to a per-day kind: the provider's tariff list comes back
    EXPECT_TRUE(page->comTarif->isEnabled());
    EXPECT_EQ(marks(*page), "Balken,Transfer");
}

TEST_F(ChartPageTest, ReopeningRestoresTheSavedView)
{
    writeFile("Config/Chart.cfg", MARCH_COSTS);
    auto page = open();
    EXPECT_EQ(page->comZeitraum->currentText(), "März");
    EXPECT_EQ(page->comJahr->currentText(), "2003");
    EXPECT_EQ(marks(*page), "Balken,Kosten");
    EXPECT_EQ(page->Picture2->image, expected(2, 2, 2003, 3));

    // kind and type carry over to the next opening when the file does not hold them; line 2's 35 is no year
    page->Image1_Click(0);
    page.reset();
    writeFile("Tarife/Alpha - Abend.tel", "");
    writeFile("Benutzer/Anna.usr", "");
    writeFile("Config/Chart.cfg", " 4\r\n 35\r\nNiemand\r\nAlpha\r\nM - Abend\r\n");
    page = open();
    EXPECT_EQ(page->comZeitraum->currentText(), "Mai");
    EXPECT_EQ(page->comJahr->currentText(), "2004");
    EXPECT_EQ(page->comUser->currentText(), "[Alle]");
    EXPECT_EQ(page->comAnbieter->currentText(), "Alpha");
    EXPECT_EQ(page->comTarif->currentText(), "M - Abend");
    EXPECT_EQ(QList<int>({ChartWindowState().kind, ChartWindowState().type}), QList<int>({2, 1}));
    EXPECT_EQ(marks(*page), "Linien,Kosten");

    // the same five lines in a new run: the defaults, "Dauer" as bars
    page.reset();
    ChartWindowState() = {};
    page = open();
    EXPECT_EQ(QList<int>({ChartWindowState().kind, ChartWindowState().type}), QList<int>({1, 2}));
    EXPECT_EQ(marks(*page), "Balken,Dauer");

    // a per-day kind stored with "Kreis" is drawn as bars
    page.reset();
    writeFile("Config/Chart.cfg", " 2\r\n 2\r\n[Alle]\r\n[Alle]\r\n\r\n 1\r\n 3\r\n");
    ChartWindowState() = {};
    page = open();
    EXPECT_EQ(QList<int>({ChartWindowState().kind, ChartWindowState().type}), QList<int>({1, 2}));
    EXPECT_EQ(greyed(*page), "Kreis");
}

TEST_F(ChartPageTest, TheExportDrawsWithAHiddenPageAndLeavesTheSettings)
{
    clock.set(QDateTime(QDate(2004, 3, 20), QTime(12, 0)));
    record("03032004-100000.con", "S1,50", "Anna", "Alpha - Abend.tel", "01:30:00");
    record("05032004-100000.con", "S2,00", "Bert", "Alpha - Abend.tel", "00:20:00");
    writeFile("Benutzer/Anna.usr", "");
    writeFile("Benutzer/Bert.usr", "");
    writeFile("Tarife/Alpha - Abend.tel", "");
    writeFile("Config/Chart.cfg", " 0\r\n 1\r\nBert\r\n[Alle]\r\n\r\n 4\r\n 3\r\n");

    Form1* form = Form1::instance();
    form->Form_Load();
    G_ActiveUser = "Supervisor";
    form->Label1_Click(1);
    auto* list = qobject_cast<List*>(form->pages->currentWidget());
    ASSERT_TRUE(list);
    list->comZeitraum->setCurrentIndex(1); // "Dieser Monat"
    list->comListUser->setCurrentIndex(list->comListUser->findText("Anna"));
    list->comAnbieter->setCurrentIndex(1);
    const QByteArray settings = readFile("Config/Chart.cfg");

    Export window(*list);
    dialogs.answerSaveFile(path("Maerz.htm"));
    dialogs.answerMessage(vbYes);
    window.Command1_Click(1);
    EXPECT_EQ(dialogs.texts().last(), "Die HTML Datei wurde erfolgreich erstellt.");
    const RecordSelection anna{"Anna", "Alpha", "[Alle]"};
    EXPECT_EQ(QImage(path("Maerz1.bmp")).convertToFormat(QImage::Format_RGB32), expected(1, 2, 2004, 3, anna));
    EXPECT_EQ(QImage(path("Maerz2.bmp")).convertToFormat(QImage::Format_RGB32), expected(3, 2, 2004, 3, anna));
    EXPECT_NE(expected(1, 2, 2004, 3, anna), expected(1, 2, 2004, 3)); // the filters reached the charts
    EXPECT_EQ(readFile("Config/Chart.cfg"), settings);
    EXPECT_FALSE(IsFormLoaded("Chart"));
    EXPECT_EQ(form->pages->currentWidget(), list);
    EXPECT_TRUE(list->isVisible());

    // a position the page's list lacks, or a picture that cannot be written, fails the export
    ExportChartRequest request;
    request.monthIndex = 2;
    request.yearIndex = 3;
    request.durationPath = path("a1.bmp");
    request.transferPath = path("a2.bmp");
    request.userIndex = 3;
    EXPECT_FALSE(ExportCharts()(request));
    EXPECT_FALSE(exists("a1.bmp"));
    request.userIndex = 0;
    request.tariffIndex = 0; // "[Alle]" as provider leaves no tariff list
    EXPECT_FALSE(ExportCharts()(request));
    request.tariffIndex = -1;
    request.transferPath = path("fehlt/a2.bmp");
    EXPECT_FALSE(ExportCharts()(request));
    EXPECT_FALSE(IsFormLoaded("Chart"));
    EXPECT_EQ(readFile("Config/Chart.cfg"), settings);

    delete form;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(ExportCharts()); // the hook goes with the main window
}

TEST_F(ChartPageTest, TheNavigationItemOpensThePage)
{
    Form1* form = Form1::instance();
    form->Form_Load();
    G_ActiveUser = "Supervisor";
    form->Label1_Click(8);
    EXPECT_EQ(form->Label1[8]->text(), "Monatsdiagramm");
    ASSERT_TRUE(qobject_cast<Chart*>(form->pages->currentWidget()));
    EXPECT_TRUE(IsFormLoaded("Chart"));
    form->HideWindows();
    EXPECT_FALSE(IsFormLoaded("Chart"));
    delete form;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
