#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/TextFile.h"
#include "core/ui/LostFocus.h"
#include "core/ui/Status.h"
#include "support/SimPlatform.h"
#include "support/TestSupport.h"
#include "tariffs/TarifFile.h"
#include "users/ui/DialUp.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {
class DialUpPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        G_Currency = QStringLiteral("€");
        oldStart = SetDialStartWait(0);
        RasDialInfo info;
        info.szPhoneNumber = "0191011";
        info.szUserName = "anna";
        info.szPassword = "geheim";
        sim.phoneBook.addEntry("Netz", info, true);
    }
    void TearDown() override
    {
        UnloadDialProgressWindow();
        SetDialStartWait(oldStart);
        ProgramTest::TearDown();
    }
    std::unique_ptr<DialUp> open()
    {
        auto page = std::make_unique<DialUp>();
        page->Form_Load();
        return page;
    }
    SimPlatform sim;
    int oldStart = 0;
};

TEST_F(DialUpPageTest, FirstOpeningDialsWithTheSystemsDataAndWritesOnlyTheChoice)
{
    auto page = open();
    EXPECT_TRUE(page->Option1->isChecked());
    for (QLineEdit* box : {page->txtEinwahlnummer, page->txtBenutzername, page->txtPasswort})
        EXPECT_FALSE(box->isEnabled());
    EXPECT_EQ(page->txtEinwahlnummer->text(), "0191011");
    EXPECT_EQ(page->txtBenutzername->text(), "anna");
    EXPECT_EQ(page->txtPasswort->text(), "geheim");
    EXPECT_EQ(page->comAnbieter->currentText(), "[Keine Zuordnung]");
    EXPECT_EQ(readFile("DialUp/DialUp.cfg"), "Wahr\r\n");
    EXPECT_FALSE(exists("DialUp/Netz.dat"));
    EXPECT_FALSE(exists("DialUp/Netz.trf"));
}

TEST_F(DialUpPageTest, StoredChoiceIsReadAsABooleanAndRewritten)
{
    const struct {
        const char* line;
        bool systemData;
        const char* rewritten;
    } cases[] = {
        {"falsch", false, "Falsch\r\n"}, {"FALSCH", false, "Falsch\r\n"}, {"True", true, "Wahr\r\n"},
        {"xyz", false, "Falsch\r\n"},    {"0", false, "Falsch\r\n"},      {"-1", true, "Wahr\r\n"},
    };
    for (const auto& c : cases) {
        writeFile("DialUp/DialUp.cfg", QByteArray(c.line) + "\r\n");
        auto page = open();
        EXPECT_EQ(page->Option1->isChecked(), c.systemData) << c.line;
        EXPECT_EQ(page->Option2->isChecked(), !c.systemData) << c.line;
        EXPECT_EQ(page->txtBenutzername->isEnabled(), !c.systemData) << c.line;
        EXPECT_EQ(readFile("DialUp/DialUp.cfg"), c.rewritten) << c.line;
    }
}

TEST_F(DialUpPageTest, OwnDataIsWrittenAtEachChangeAndDialledWith)
{
    writeFile("DialUp/DialUp.cfg", "Falsch\r\n");
    auto page = open();
    EXPECT_EQ(page->txtBenutzername->text(), "");
    EXPECT_FALSE(exists("DialUp/Netz.dat"));
    page->txtBenutzername->setText("a");
    page->txtPasswort->setText("p");
    const QStringList lines = ReadTextLines(path("DialUp/Netz.dat"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(DecryptString(lines[1]), "Ua");
    EXPECT_EQ(DecryptString(lines[2]), "Pp");

    DialEntry(QString(), "Netz");
    ASSERT_EQ(sim.phoneBook.dialCalls.size(), 1);
    EXPECT_EQ(sim.phoneBook.dialCalls[0].szUserName, "a");
    EXPECT_EQ(sim.phoneBook.dialCalls[0].szPassword, "p");

    // a character the file cannot hold: nothing written, the stored name shown again
    const QByteArray before = readFile("DialUp/Netz.dat");
    page->txtBenutzername->setText("aő");
    EXPECT_EQ(dialogs.texts(), QStringList{UNSTORABLE_INPUT_MESSAGE});
    EXPECT_EQ(page->txtBenutzername->text(), "a");
    EXPECT_EQ(readFile("DialUp/Netz.dat"), before);
}

TEST_F(DialUpPageTest, AssignedTariffShowsItsPriceNow)
{
    TarifFile t = TarifFile::New("Net", "Tag");
    t.zones = {{0, 24, 1.9f, false}};
    ASSERT_TRUE(WriteTarifFile(t));
    writeFile("DialUp/Netz.trf", "Net\r\nM - Tag\r\n");
    auto page = open();
    EXPECT_EQ(page->comAnbieter->itemText(0), "[Keine Zuordnung]");
    EXPECT_EQ(page->comTarif->currentText(), "M - Tag");
    EXPECT_EQ(page->lblKosten->text(), "0,019 €");
    EXPECT_EQ(readFile("DialUp/Netz.trf"), "Net\r\nM - Tag\r\n");

    page->comAnbieter->setCurrentIndex(0);
    EXPECT_EQ(readFile("DialUp/Netz.trf"), "[Keine Zuordnung]\r\n[Keine Zuordnung]\r\n");
}

TEST_F(DialUpPageTest, PhoneBookDialogs)
{
    auto page = open();
    sim.phoneBook.entryDialogResult = ERROR_CALL_NOT_IMPLEMENTED;
    page->lblLink_Click(0);
    EXPECT_EQ(dialogs.texts(), QStringList{NO_ENTRY_DIALOG_MESSAGE});
    EXPECT_EQ(dialogs.messages[0].icon(), vbInformation);

    sim.phoneBook.entryDialogResult = ERROR_ACCESS_DENIED; // ignored
    sim.phoneBook.duringEntryDialog = [&] { sim.phoneBook.addEntry("Aaa"); };
    page->lblLink_Click(1);
    EXPECT_EQ(page->comDFUE->count(), 1);

    sim.phoneBook.entryDialogResult = RAS_SUCCESS;
    sim.phoneBook.entryList.prepend(sim.phoneBook.entryList.takeLast());
    page->lblLink_Click(0);
    EXPECT_EQ(page->comDFUE->currentText(), "Aaa");
    EXPECT_EQ(sim.phoneBook.entryDialogs, (QStringList{"create", "edit Netz", "create"}));
    EXPECT_EQ(dialogs.messages.size(), 1);
}
} // namespace
