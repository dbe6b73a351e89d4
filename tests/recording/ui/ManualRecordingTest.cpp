#include "core/ui/WindowUtils.h"
#include "recording/ui/Overview.h"
#include "CounterPageFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

// The main road by hand: the overview page's choice, its start button, the counter page in its place,
// the stop, the record, and the overview page back.
TEST_F(CounterPageTest, ManualStartFromTheOverviewAndBack)
{
    form = Form1::instance();
    form->Form_Load();
    Overview* overview = form->overviewPage();
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(overview->lblOverview[0]->text(), "0,019 € pro Minute");
    EXPECT_EQ(G_Tariff, "Net - Tag.tel");
    EXPECT_EQ(G_ActiveUser, "Supervisor");

    overview->cmdStart->click();
    spin(); // the first tick
    EXPECT_FALSE(IsFormLoaded("Overview"));
    Connection* page = form->counterPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(form->pages->currentWidget(), page);
    EXPECT_EQ(G_DetectSource, 0);
    EXPECT_EQ(page->lblDauer->text(), "00:00:01");
    EXPECT_EQ(page->lblKosten->text(), "0,019 €");
    EXPECT_EQ(form->Label1[0]->text(), "Verbindung");

    ticks(60);
    EXPECT_EQ(page->lblKosten->text(), "0,038 €");
    EXPECT_EQ(form->windowTitle(), "0,038 € | 00:01:01 | 0.0 | unbekannt");

    page->cmdStop->click();
    ASSERT_EQ(records(), QStringList{"17012001-120000.con"});
    const QStringList record = deciphered("Verbindungen/17012001-120000.con");
    ASSERT_GE(record.size(), 11);
    EXPECT_EQ(record[2], "00:01:01");
    EXPECT_EQ(record[3], "S0,04");
    EXPECT_EQ(record[8], "unbekannt"); // no phone-book connection: the caption as displayed, so the list shows it
    EXPECT_EQ(record[9], "Net - Tag.tel");
    EXPECT_EQ(record[10], "Supervisor");
    spin();
    EXPECT_EQ(form->counterPage(), nullptr);
    overview = form->overviewPage();
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(form->pages->currentWidget(), overview);
    EXPECT_EQ(form->windowTitle(), "Zumbrel 3.3");
    EXPECT_EQ(form->Label1[0]->text(), "Übersicht");
    EXPECT_EQ(overview->comTarif->currentText(), "M - Tag");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}
