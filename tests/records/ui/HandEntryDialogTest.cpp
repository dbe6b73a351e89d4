#include "core/NumberRange.h"
#include "core/RecordFiles.h"
#include "records/ui/NewConnection.h"
#include "support/SimPlatform.h"
#include "support/TestSupport.h"
#include "support/ui/WidgetHelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
const QByteArray TARIFF = "[Providerdaten]\r\nName:Net - Tag\r\nTakt:60 / 60\r\n\r\n[Tarifzonen]\r\n"
                          "Zone:T\r\nVon:0\r\nBis:24\r\nPfennig:6\r\nEinheit:60\r\nWochenende:Nein\r\n"
                          "Zone:W\r\nVon:0\r\nBis:24\r\nPfennig:6\r\nEinheit:60\r\nWochenende:Ja\r\n";
const QStringList STORED{"S16.01.2001", "10:00:00", "00:10:00", "S9,99", "3",  "100",
                         "200",         "300",      "ppp-Netz", "Net - Tag.tel", "Anna"}; // from the recorder
} // namespace

class HandEntryDialogTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        writeFile("Tarife/Net - Tag.tel", TARIFF);
        writeFile("Benutzer/Anna.usr", "");
    }
    QStringList records() const { return QDir(path("Verbindungen")).entryList(QDir::Files); }

    SimPlatform platform;
};

TEST_F(HandEntryDialogTest, EntryDialogWritesTwelveLinesAtOnce)
{
    NewConnection dlg;
    dlg.Form_Load();
    EXPECT_EQ(dlg.Text1[3]->text(), "0,00");
    dlg.Command1_Click(0);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.texts().join("|").toStdString();
    EXPECT_EQ(records(), QStringList{"17012001-000000.con"});
    EXPECT_EQ(deciphered("Verbindungen/17012001-000000.con"),
              (QStringList{"S17.01.2001", "00:00:00", "00:00:00", "S0,00", "0", "0", "0", "0",
                           "Keine DFÜ Verbindung", "Net - Tag.tel", "Anna", ""}));
}

TEST_F(HandEntryDialogTest, LeavingFieldsNormalisesThem)
{
    NewConnection dlg;
    dlg.Form_Load();
    const struct {
        int field;
        const char* typed;
        const char* shown;
    } cases[] = {{3, "2.5", "2,50"}, {3, "2,5", "2,50"}, {0, "5.3.03", "05.03.2003"}, {0, "31.02.2003", "17.01.2001"},
                 {1, "25:10:00", "00:10:00"}, {2, "0:90:75", "01:31:15"}, {5, "12 kB", "12"}};
    for (const auto& c : cases) {
        dlg.Text1[c.field]->setText(c.typed);
        dlg.Text1_LostFocus(c.field);
        EXPECT_EQ(dlg.Text1[c.field]->text(), c.shown) << c.typed;
    }
    dlg.Text1[5]->setText("1000");
    dlg.Text1[6]->setText("500");
    dlg.Text1_LostFocus(6);
    EXPECT_EQ(dlg.Text1[7]->text(), "1500");
    dlg.Text1[2]->setText("0:10");
    dlg.Text1_LostFocus(2); // ten one-minute steps at 6 hundredths, overwriting the typed cost
    EXPECT_EQ(dlg.Text1[3]->text(), "0,60");
    EXPECT_EQ(dlg.Text1[4]->text(), "10");
    // steps dearer than the single range holds: the hundredths stop at its end, never "i,nf"
    writeFile("Tarife/Net - Tag.tel",
              QByteArray(TARIFF).replace("Pfennig:6", "Pfennig:3,4E+38").replace("/ 60", "/ 120"));
    dlg.Text1_LostFocus(2);
    EXPECT_EQ(dlg.Text1[3]->text(), "3402824000000000000000000000000000000,00");
    EXPECT_EQ(dlg.Text1[4]->text(), "5");
}

TEST_F(HandEntryDialogTest, CommentRoundTripsAndUnstorableTextWritesNothing)
{
    NewConnection dlg;
    dlg.Form_Load();
    dlg.show();
    dlg.Text1_8->setPlainText("eins\nzwei →\ndrei");
    dlg.Command1_Click(0);
    EXPECT_EQ(dialogs.texts(), QStringList{"Die Verbindungsdaten konnten nicht gespeichert werden."});
    EXPECT_EQ(dialogs.messages.value(0).icon(), vbExclamation);
    EXPECT_TRUE(records().isEmpty());
    EXPECT_TRUE(dlg.isVisible());

    dlg.Text1_8->setPlainText("eins\nzwei\ndrei");
    dlg.Command1_Click(0);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(deciphered("Verbindungen/17012001-000000.con").value(11), "eins\r\nzwei\r\ndrei");

    ChangeConnection edit("17012001-000000.con");
    ASSERT_TRUE(edit.Form_Load());
    EXPECT_EQ(edit.Text1_8->toPlainText(), "eins\nzwei\ndrei");
}

TEST_F(HandEntryDialogTest, EditingKeepsStoredCostAndMovesOnlyWhenTheNameChanges)
{
    writeCipher("Verbindungen/16012001-100000.con", STORED);
    {
        ChangeConnection dlg("16012001-100000.con");
        ASSERT_TRUE(dlg.Form_Load());
        EXPECT_EQ(dlg.Text1[3]->text(), "9,99");
        EXPECT_EQ(dlg.comAnbieter->currentText(), "Net");
        EXPECT_EQ(dlg.comTarif->currentText(), "M - Tag");
        EXPECT_EQ(dlg.comDFUE->currentText(), "ppp-Netz");
        dlg.Text1[2]->setText("0:20");
        dlg.Text1_LostFocus(2); // no tariff picked yet: the stored cost stands
        EXPECT_EQ(dlg.Text1[3]->text(), "9,99");
        dlg.Command1_Click(0);
    }
    EXPECT_EQ(records(), QStringList{"16012001-100000.con"});
    QStringList expected = STORED;
    expected[2] = "00:20:00";
    EXPECT_EQ(deciphered("Verbindungen/16012001-100000.con"), expected << "");

    ChangeConnection later("16012001-100000.con");
    ASSERT_TRUE(later.Form_Load());
    later.Text1[1]->setText("10:00:01");
    later.Command1_Click(0);
    EXPECT_EQ(records(), QStringList{"16012001-100001.con"});
}

TEST_F(HandEntryDialogTest, FailedSaveOrUnreadableStartKeepsTheOldRecord)
{
    writeCipher("Verbindungen/16012001-100000.con", STORED);
    const QByteArray before = readFile("Verbindungen/16012001-100000.con");
    ChangeConnection dlg("16012001-100000.con");
    ASSERT_TRUE(dlg.Form_Load());
    dlg.Text1[0]->setText("18.01.2001");
    dlg.Text1_8->setPlainText("→");
    dlg.Command1_Click(0);
    dlg.Text1_8->clear();
    dlg.Text1[1]->setText("kaputt"); // a damaged field never left
    dlg.Command1_Click(0);
    EXPECT_EQ(dialogs.texts(), (QStringList{"Die Verbindungsdaten konnten nicht gespeichert werden.",
                                            "Sie müssen eine Startzeit der Verbindung eingeben."}));
    EXPECT_EQ(records(), QStringList{"16012001-100000.con"});
    EXPECT_EQ(readFile("Verbindungen/16012001-100000.con"), before);
}

TEST_F(HandEntryDialogTest, SplitsTheTariffFileName)
{
    const struct {
        const char* line10;
        const char* provider;
        const char* item;
    } cases[] = {{"Beispiel - Abend.tel", "Beispiel", "M - Abend"},
                 {"Netz-Plus - Abend.atl", "Netz-Plus", "A - Abend"},
                 {"Netz-Plus - Abend.ATL", "Netz-Plus", ""},
                 {"Ohne", "", ""}};
    for (const auto& c : cases) {
        QString provider, item;
        SplitTariffFile(c.line10, &provider, &item);
        EXPECT_EQ(provider, c.provider) << c.line10;
        EXPECT_EQ(item, c.item) << c.line10;
        if (*c.item) {
            EXPECT_EQ(HandEntryTariffFile(provider, item), c.line10);
        }
    }
    EXPECT_EQ(HandEntryTariffFile("Nord", "Mwest - Abend"), "");
}

TEST_F(HandEntryDialogTest, ValuesOutsideTheirRangesGetTheTextBeforeTheEditBack)
{
    NewConnection dlg;
    dlg.Form_Load();
    dlg.Text1[5]->setText("1");
    const QString count = COUNT_RANGE.message();
    const struct {
        int field;
        const char* typed;
        QString message;
    } cases[] = {
        {2, "-05:00:00", DURATION_RANGE_MESSAGE},
        {2, "10000:00:00", DURATION_RANGE_MESSAGE},
        {3, "1000000", CREDIT_RANGE.message()},
        {3, "-1000000", CREDIT_RANGE.message()},
        {3, "999999999999999", CREDIT_RANGE.message()}, // never its leading digit "1,00"
        {3, "1000000000000000,5", CREDIT_RANGE.message()},
        {4, "1000000000000000", count},
        {5, "-5", count},
        {6, "999999999999999", count}, // with the one byte received the total would reach 10^15
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        QLineEdit* box = dlg.Text1[c.field];
        const QString before = box->text();
        TypeInto(box, c.typed);
        dlg.Text1_LostFocus(c.field);
        EXPECT_EQ(dialogs.texts(), QStringList{c.message}) << c.typed;
        EXPECT_EQ(dialogs.messages.value(0).icon(), int(vbExclamation));
        EXPECT_EQ(box->text(), before) << c.typed;
    }
    EXPECT_EQ(dlg.Text1[7]->text(), "0");

    dialogs.messages.clear();
    TypeInto(dlg.Text1[3], "-2.5"); // a credit is a readable record
    dlg.Text1_LostFocus(3);
    EXPECT_EQ(dlg.Text1[3]->text(), "-2,50");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(HandEntryDialogTest, AnEndlessDurationIsNeverWalked)
{
    QStringList damaged = STORED;
    damaged[2] = "99999999999:00:00";
    writeCipher("Verbindungen/16012001-100000.con", damaged);
    NewConnection dlg;
    dlg.Form_Load();
    ChangeConnection edit("16012001-100000.con");
    ASSERT_TRUE(edit.Form_Load());
    // Without its tariff file a calculation gives 0 at once: a cost that stands shows that none ran, and
    // a duration let through cannot keep this test walking.
    QFile::remove(path("Tarife/Net - Tag.tel"));

    TypeInto(dlg.Text1[3], "7,77");
    dlg.Text1_LostFocus(3);
    TypeInto(dlg.Text1[2], "99999999999:99:99");
    dlg.Text1_LostFocus(2);
    EXPECT_EQ(dialogs.texts(), QStringList{DURATION_RANGE_MESSAGE});
    EXPECT_EQ(dlg.Text1[2]->text(), "00:00:00");
    EXPECT_EQ(dlg.Text1[3]->text(), "7,77");

    edit.comTarif_Click(); // the stored duration was never left
    EXPECT_EQ(edit.comTarifTag, "1");
    EXPECT_EQ(edit.Text1[3]->text(), "9,99");
}

TEST_F(HandEntryDialogTest, ASaveStopsWhereTheFieldStillBeingEditedIsRefused)
{
    NewConnection dlg;
    dlg.Form_Load();
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    dlg.Text1[2]->setFocus(); // "&Speichern" by its mnemonic: the duration keeps the focus
    TypeInto(dlg.Text1[2], "-1:00:00");
    dlg.Command1_Click(0);
    EXPECT_EQ(dialogs.texts(), QStringList{DURATION_RANGE_MESSAGE});
    EXPECT_EQ(dlg.Text1[2]->text(), "00:00:00");
    EXPECT_TRUE(records().isEmpty());
    EXPECT_TRUE(dlg.isVisible());
}
