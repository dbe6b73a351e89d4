// Rules between the controls of the options and user pages: which list file a tick writes, which file
// the program list shows, and which restriction boxes a user's choices leave usable.
#include "support/SimPlatform.h"
#include "support/TestSupport.h"

#include "core/Globals.h"
#include "recording/ui/Form1.h"
#include "users/UserRecord.h"
#include "users/ui/Options.h"
#include "users/ui/User.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>

#include <memory>

namespace {
class OptionsRulesTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        sim.phoneBook.addEntry("Arcor");
        sim.phoneBook.addEntry("T-Online");
    }
    std::unique_ptr<Options> open()
    {
        auto page = std::make_unique<Options>();
        page->Form_Load();
        return page;
    }
    static QStringList programs(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked ? "+" : "-");
        return out;
    }
    SimPlatform sim;
};

class UserRulesTest : public ProgramTest {
protected:
    void TearDown() override
    {
        delete Form1::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ProgramTest::TearDown();
    }
    void writeUser(const QString& name, const QString& noListEdit = "0", const QString& noListView = "0")
    {
        writeCipher("Benutzer/" + name + ".usr",
                    {"0", "0", "0", noListEdit, "0", noListView, "0", "60", "", "0", "600"});
        writeFile("Benutzer/" + name + ".bdg", " 0\r\n 0\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n");
    }
    User* open(const QString& active)
    {
        Form1* form = Form1::instance();
        form->Tag = active;
        return static_cast<User*>(form->showPage("User"));
    }
    static void choose(User* page, const QString& name)
    {
        page->comUser->setCurrentIndex(page->comUser->findText(name));
    }
    // The enabled state of the restriction boxes 0-4 and 6-8, then of the password and the two minutes boxes.
    static QString enabled(const User* page)
    {
        QString out;
        for (int i : {0, 1, 2, 3, 4, 6, 7, 8})
            out += page->chkUser[i]->isEnabled() ? '1' : '0';
        out += ' ';
        for (const QLineEdit* box : {page->txtUserPassword, page->txtTimeLimit, page->txtTimeLimit2})
            out += box->isEnabled() ? '1' : '0';
        return out;
    }
};
} // namespace

TEST_F(OptionsRulesTest, TickingAnEntryWritesTheAllowList)
{
    const QByteArray stored = "Arcor\r\n 1\r\nAlt\r\n 1\r\n";
    writeFile("DialUp/Deny.sec", stored);
    const auto page = open();
    page->Check2[3]->setChecked(true);
    EXPECT_EQ(readFile("DialUp/Deny.sec"), stored); // the switch is no tick

    page->List2->item(1)->setCheckState(Qt::Checked);
    // one pair per listed entry: the entry the phone book no longer has is dropped
    EXPECT_EQ(readFile("DialUp/Deny.sec"), "Arcor\r\n 1\r\nT-Online\r\n 1\r\n");
    page->List2->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(readFile("DialUp/Deny.sec"), "Arcor\r\n 0\r\nT-Online\r\n 1\r\n");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(OptionsRulesTest, Check1SwitchesBetweenTheCommonAndTheEntrysProgramList)
{
    writeFile("DialUp/General.prg", "/bin/alle\r\n 1\r\n");
    writeFile("DialUp/Arcor.prg", "/bin/arcor\r\n 0\r\n");
    const auto page = open();
    EXPECT_EQ(page->Combo1[1]->currentText(), "Arcor");
    EXPECT_EQ(programs(page->List1), QStringList{"/bin/arcor-"});

    page->Check1->setChecked(true);
    EXPECT_TRUE(G_SameProgramsForAll);
    EXPECT_FALSE(page->Combo1[1]->isEnabled());
    EXPECT_EQ(programs(page->List1), QStringList{"/bin/alle+"});
    page->List1->item(0)->setCheckState(Qt::Unchecked); // saved into the list shown
    EXPECT_EQ(readFile("DialUp/General.prg"), "/bin/alle\r\n 0\r\n");
    EXPECT_EQ(readFile("DialUp/Arcor.prg"), "/bin/arcor\r\n 0\r\n");

    page->Check1->setChecked(false);
    EXPECT_FALSE(G_SameProgramsForAll);
    EXPECT_TRUE(page->Combo1[1]->isEnabled());
    EXPECT_EQ(programs(page->List1), QStringList{"/bin/arcor-"});
    page->List1->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(readFile("DialUp/Arcor.prg"), "/bin/arcor\r\n 1\r\n");
    EXPECT_EQ(readFile("DialUp/General.prg"), "/bin/alle\r\n 0\r\n");

    page->Combo1[1]->setCurrentIndex(1); // an entry without a list: none shown, none written
    EXPECT_TRUE(programs(page->List1).isEmpty());
    EXPECT_FALSE(exists("DialUp/T-Online.prg"));
}

TEST_F(UserRulesTest, SupervisorKeepsOnlyItsPassword)
{
    writeUser("Anna");
    writeUser(SUPERVISOR);
    User* page = open("Anna");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(enabled(page), "11111111 111");
    choose(page, SUPERVISOR);
    EXPECT_EQ(G_ActiveUser, SUPERVISOR);
    EXPECT_EQ(enabled(page), "00000000 100");
    EXPECT_TRUE(page->chkUser[5]->isEnabled());
    choose(page, "Anna");
    EXPECT_EQ(enabled(page), "11111111 111");
}

TEST_F(UserRulesTest, NoListViewLocksListEditingWithoutTickingIt)
{
    writeUser("Anna");
    writeUser("Bert", "0", "1");
    User* page = open("Anna");
    page->chkUser[6]->setChecked(true);
    EXPECT_FALSE(page->chkUser[3]->isEnabled());
    EXPECT_FALSE(page->chkUser[3]->isChecked());
    const QStringList saved = deciphered("Benutzer/Anna.usr");
    EXPECT_EQ(saved.value(3), "0");
    EXPECT_EQ(saved.value(5), "1");
    EXPECT_TRUE(G_NoListEdit); // no list view implies no list editing for the active user

    page->chkUser[6]->setChecked(false);
    EXPECT_TRUE(page->chkUser[3]->isEnabled());
    EXPECT_EQ(deciphered("Benutzer/Anna.usr").value(5), "0");
    EXPECT_FALSE(G_NoListEdit);

    choose(page, "Bert"); // shown with the box locked, whatever Anna showed
    EXPECT_FALSE(page->chkUser[3]->isEnabled());
    EXPECT_FALSE(page->chkUser[3]->isChecked());
    EXPECT_TRUE(G_NoListEdit);
}
