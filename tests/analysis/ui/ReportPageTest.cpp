#include "analysis/Analysis.h"
#include "analysis/ui/Report.h"
#include "core/Globals.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"
#include "support/BudgetRecordBuilder.h"
#include "support/TestSupport.h"
#include "support/ui/WidgetHelpers.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QStackedWidget>

#include <memory>

namespace {
class ReportPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        G_Currency = QStringLiteral("€");
        clock.set(QDateTime(QDate(2004, 1, 15), QTime(12, 0, 0)));
    }
    void record(const QString& name, const QString& start, const QString& duration, const QString& cost,
                const QString& bytes, const QString& user)
    {
        ASSERT_TRUE(WriteTestRecord(dir.path(), {name, cost, user, duration, bytes, "Netz - Tag.tel", start}));
    }
    static std::unique_ptr<Report> open()
    {
        auto page = std::make_unique<Report>();
        page->Form_Load();
        return page;
    }
    // The page shows exactly what the computation gives for its two selections.
    static void expectShows(const Report& page, const QString& period, const QString& user)
    {
        const AnalysisResult r = BuildAnalysis(period, user);
        QStringList shown;
        for (const QLabel* label : page.Label2) shown << label->text();
        EXPECT_EQ(shown, r.sentences) << period.toStdString() << "/" << user.toStdString();
        EXPECT_EQ(page.lblGesamtDauer->text(), r.totalDuration);
        EXPECT_EQ(page.lblGesamtKosten->text(), r.totalCost);
        EXPECT_EQ(page.lblGesamtTransfer->text(), r.totalTransfer);
    }
};
} // namespace

TEST_F(ReportPageTest, OpensOnAllRecordsOfAllUsersAndRecomputesOnEverySelection)
{
    record("08122003-075800.con", "07:58:00", "0:04:30", "1,50", "2000000", "Anna");
    record("11122003-195800.con", "19:58:00", "0:03:40", "0,75", "500000", "Anna");
    record("02012004-100000.con", "10:00:00", "0:10:00", "1,00", "0", "Bert");
    writeFile("Benutzer/Anna.usr", "");
    writeFile("Benutzer/Bert.usr", "");

    auto page = open();
    EXPECT_EQ(FlatDecorated(page.get()), (QStringList{"comUser", "comZeitraum"}));
    EXPECT_EQ(page->comZeitraum->currentText(), "Gesamt");
    ASSERT_EQ(page->comZeitraum->count(), 6);
    EXPECT_EQ(page->comZeitraum->itemText(5), "Letztes Jahr");
    EXPECT_EQ(page->comUser->currentText(), "[Alle]");
    EXPECT_EQ(page->comUser->count(), 3);
    EXPECT_EQ(page->Label3[3]->text(), "Verbindungsdauer gesamt:");
    EXPECT_TRUE(page->Label2[10]->font().bold());
    EXPECT_FALSE(page->Label2[9]->font().bold());
    expectShows(*page, "Gesamt", "[Alle]");
    EXPECT_EQ(page->lblGesamtKosten->text(), "3,25 €");

    page->comZeitraum->setCurrentIndex(2); // "Letzter Monat"
    expectShows(*page, "Letzter Monat", "[Alle]");
    EXPECT_EQ(page->Label2[3]->text(), "Die durchschnittlichen Verbindungskosten liegen bei 1,13 €.");
    EXPECT_EQ(page->lblGesamtDauer->text(), "00:08:10");
    EXPECT_EQ(page->lblGesamtKosten->text(), "2,25 €");
    EXPECT_EQ(page->lblGesamtTransfer->text(), "2500 KB");

    page->comUser->setCurrentIndex(page->comUser->findText("Bert"));
    expectShows(*page, "Letzter Monat", "Bert");
    EXPECT_EQ(page->Label2[0]->text(), "Eine Auswertung ist aufgrund unzureichender Daten nicht möglich.");
    EXPECT_EQ(page->Label2[9]->text(),
              "Stellen Sie als Benutzer \"[Alle]\" ein um den aktivsten Benutzer zu ermitteln.");

    // a reopening starts again at "Gesamt" and "[Alle]"
    page.reset();
    page = open();
    EXPECT_EQ(page->comZeitraum->currentText(), "Gesamt");
    EXPECT_EQ(page->comUser->currentText(), "[Alle]");
}

TEST_F(ReportPageTest, WithoutUserFilesOnlyAllIsListed)
{
    auto page = open();
    EXPECT_EQ(page->comUser->count(), 1);
    EXPECT_EQ(page->comUser->currentText(), "[Alle]");
    EXPECT_EQ(page->Label2[0]->text(), "Eine Auswertung ist aufgrund unzureichender Daten nicht möglich.");
    EXPECT_EQ(page->lblGesamtDauer->text(), "00:00:00");
    // a panel narrower than a sentence narrows the sentence instead of cutting it off
    page->resize(360, 400);
    for (const QLabel* label : page->Label2)
        EXPECT_LE(label->geometry().right(), page->wndReport->width()) << label->text().toStdString();
    EXPECT_EQ(page->Label2[4]->text(),
              "Pro Tag geben Sie für die Internetnutzung durchschnittlich 0,00 € aus, pro Woche 0,00 €.");
}

TEST_F(ReportPageTest, TheNavigationItemOpensThePageFillingThePageArea)
{
    Form1* form = Form1::instance();
    form->Form_Load();
    G_ActiveUser = "Supervisor";
    form->Label1_Click(9);
    ASSERT_TRUE(IsFormLoaded("Report"));
    QWidget* page = form->pages->currentWidget();
    ASSERT_TRUE(qobject_cast<Report*>(page));
    EXPECT_EQ(page->size(), form->pages->size());
    form->HideWindows();
    EXPECT_FALSE(IsFormLoaded("Report"));
    delete form;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
