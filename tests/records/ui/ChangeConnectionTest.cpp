// The editing dialog prices a record from a tariff only once the user has picked one.
#include "records/ui/NewConnection.h"
#include "support/SimPlatform.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
QByteArray tariff(const char* cents)
{
    QByteArray zones;
    for (const char* weekend : {"Nein", "Ja"})
        zones += QByteArray("Zone:1\r\nVon:0\r\nBis:24\r\nPfennig:") + cents +
                 "\r\nEinheit:60\r\nWochenende:" + weekend + "\r\n";
    return "[Providerdaten]\r\nTakt:60 / 60\r\n\r\n[Tarifzonen]\r\n" + zones;
}

class ChangeConnectionTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        writeFile("Tarife/Net - Tag.tel", tariff("6"));
        writeFile("Tarife/Net - Nacht.tel", tariff("2"));
        writeFile("Tarife/Ost - Abend.tel", tariff("3"));
        writeCipher("Verbindungen/16012001-100000.con", {"S16.01.2001", "10:00:00", "00:10:00", "S9,99", "3", "100",
                                                         "200", "300", "ppp-Netz", "Net - Tag.tel", "Anna"});
    }
    // cost and units as the dialog shows them
    static QString priced(const ChangeConnection& dlg) { return dlg.Text1[3]->text() + " " + dlg.Text1[4]->text(); }
    void leaveDuration(ChangeConnection& dlg, const QString& typed)
    {
        dlg.Text1[2]->setText(typed);
        dlg.Text1_LostFocus(2);
    }
    SimPlatform platform;
};
} // namespace

TEST_F(ChangeConnectionTest, PickingATariffRecomputesTheCost)
{
    ChangeConnection dlg("16012001-100000.con");
    ASSERT_TRUE(dlg.Form_Load());
    dlg.show();
    EXPECT_EQ(dlg.comTarif->currentText(), "M - Tag");
    leaveDuration(dlg, "0:20");
    EXPECT_EQ(priced(dlg), "9,99 3"); // no pick yet: the stored cost and units stand

    dlg.comTarif->setCurrentIndex(dlg.comTarif->findText("M - Nacht"));
    EXPECT_EQ(priced(dlg), "0,40 20"); // twenty minutes at 2 hundredths
    leaveDuration(dlg, "0:05");
    EXPECT_EQ(priced(dlg), "0,10 5"); // from the pick on, leaving the duration prices again

    // another provider on a visible dialog selects its first tariff: a pick as well
    dlg.comAnbieter->setCurrentIndex(dlg.comAnbieter->findText("Ost"));
    EXPECT_EQ(dlg.comTarif->currentText(), "M - Abend");
    EXPECT_EQ(priced(dlg), "0,15 5");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}
