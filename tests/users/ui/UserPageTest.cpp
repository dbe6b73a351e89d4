// The user settings page: password questions, saves that are refused, the logon link, the minutes
// boxes and the recreation of damaged records.
#include "support/SmallDisk.h"
#include "support/TestSupport.h"
#include "support/ui/WidgetHelpers.h"

#include "core/Globals.h"
#include "core/NumberRange.h"
#include "core/ui/LostFocus.h"
#include "recording/ui/Form1.h"
#include "users/UserRecord.h"
#include "users/ui/User.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {
class UserPageTest : public ProgramTest {
protected:
    void TearDown() override
    {
        delete Form1::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ProgramTest::TearDown();
    }
    void writeUser(const QString& name, const QString& password, const QString& line1 = "0")
    {
        writeCipher("Benutzer/" + name + ".usr", {line1, "0", "0", "0", "0", "0", "0", "60", password, "0", "600"});
        writeFile("Benutzer/" + name + ".bdg", " 5\r\n 0\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n");
    }
    // The page as the navigation opens it, with `active` as the active user.
    User* open(const QString& active)
    {
        form = Form1::instance();
        form->Tag = active;
        return static_cast<User*>(form->showPage("User"));
    }
    void choose(User* page, const QString& name) { page->comUser->setCurrentIndex(page->comUser->findText(name)); }
    void expectActive(User* page, const QString& name)
    {
        EXPECT_EQ(page->comUser->currentText(), name);
        EXPECT_EQ(G_ActiveUser, name);
        EXPECT_EQ(form->Tag, name);
        EXPECT_EQ(form->lblStatus[2]->text(), "Aktiver Benutzer: " + name);
    }

    Form1* form = nullptr;
};
} // namespace

TEST_F(UserPageTest, PasswordIsAskedMaskedAndARefusalKeepsThePreviousUser)
{
    writeUser("Anna", "");
    writeUser("Carl", "geheim");
    User* page = open("Anna");
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(dialogs.inputs.isEmpty());
    expectActive(page, "Anna");

    struct Case {
        const char* answer;
        QStringList messages;
        const char* shown;
    } cases[] = {{"Geheim", {"Falsches Passwort!"}, "Anna"}, {"", {}, "Anna"}, {"geheim", {}, "Carl"}};
    for (const Case& c : cases) {
        dialogs.messages.clear();
        dialogs.answerInput(c.answer);
        choose(page, "Carl");
        EXPECT_EQ(dialogs.texts(), c.messages) << c.answer;
        if (!c.messages.isEmpty()) {
            EXPECT_EQ(dialogs.messages[0].icon(), vbCritical);
        }
        expectActive(page, c.shown);
    }
    ASSERT_EQ(dialogs.inputs.size(), 3);
    EXPECT_EQ(dialogs.inputs[0].prompt, "Bitte geben Sie das Passwort für diesen Benutzer ein.");
    EXPECT_EQ(dialogs.inputs[0].title, "Passwortabfrage");
    EXPECT_TRUE(dialogs.inputs[0].masked);
    EXPECT_EQ(page->txtUserPassword->text(), "geheim");
}

TEST_F(UserPageTest, RefusedSavesKeepTheStoredBytes)
{
    writeUser("Anna", "");
    User* page = open("Anna");
    page->txtUserPassword->setText("ab");
    const QByteArray stored = readFile("Benutzer/Anna.usr");
    EXPECT_EQ(deciphered("Benutzer/Anna.usr").value(8), "ab");

    page->txtUserPassword->setText(QString("ab") + QChar(0x0151)); // "ő"
    EXPECT_EQ(dialogs.texts(), QStringList{UNSTORABLE_INPUT_MESSAGE});
    EXPECT_EQ(readFile("Benutzer/Anna.usr"), stored);
    EXPECT_EQ(page->txtUserPassword->text(), "ab");

    // the logon link has a file of its own; the record stays as it is
    page->chkUser[5]->setChecked(true);
    EXPECT_EQ(readFile("Config/Users.cfg"), " 1\r\n");
    EXPECT_EQ(readFile("Benutzer/Anna.usr"), stored);

    // on a full disk the link's box says so, and shows the stored link again
    if (!InPrivateMounts()) return;
    SmallDisk disk(path("Config"));
    ASSERT_TRUE(disk.mounted());
    dialogs.messages.clear();
    page->chkUser[5]->setChecked(false);
    EXPECT_EQ(readFile("Config/Users.cfg"), " 0\r\n");
    disk.fill();
    page->chkUser[5]->setChecked(true);
    EXPECT_EQ(dialogs.texts(), QStringList{"Die Einstellung konnte nicht gespeichert werden."});
    EXPECT_FALSE(page->chkUser[5]->isChecked());
    EXPECT_EQ(readFile("Config/Users.cfg"), " 0\r\n");
}

TEST_F(UserPageTest, MinutesAreFlooredWhenTheBoxIsLeft)
{
    writeUser("Anna", "");
    User* page = open("Anna");
    struct Case {
        QLineEdit* box;
        const char* typed;
        const char* kept;
        int line;
        bool refused;
    } cases[] = {{page->txtTimeLimit, "12,7", "12", 7, false},
                 {page->txtTimeLimit, "12.7", "12", 7, false},
                 {page->txtTimeLimit2, "abc", "0", 10, false},
                 {page->txtTimeLimit2, "99999999.9", "99999999", 10, false},
                 // a negative limit would end every connection at once
                 {page->txtTimeLimit2, "-2.5", "600", 10, true},
                 {page->txtTimeLimit, "100000000", "60", 7, true}};
    for (const Case& c : cases) {
        dialogs.messages.clear();
        TypeInto(c.box, c.typed);
        EXPECT_EQ(deciphered("Benutzer/Anna.usr").value(c.line), c.line == 7 ? "60" : "600") << c.typed;
        if (c.box == page->txtTimeLimit) page->txtTimeLimit_LostFocus();
        else page->txtTimeLimit2_LostFocus();
        EXPECT_EQ(c.box->text(), c.kept);
        EXPECT_EQ(deciphered("Benutzer/Anna.usr").value(c.line), c.kept) << c.typed;
        EXPECT_EQ(dialogs.texts(), c.refused ? QStringList{MINUTES_RANGE.message()} : QStringList()) << c.typed;
        c.box->setText(c.line == 7 ? "60" : "600");
        page->SaveUser();
    }
}

TEST_F(UserPageTest, DamagedRecordIsRecreatedOnlyOnceItsPasswordWasGiven)
{
    writeUser("Anna", "");
    writeUser("Bert", "pw", "5");
    writeUser("Dora", "", "5");
    User* page = open("Anna");
    const QByteArray damaged = readFile("Benutzer/Bert.usr");

    dialogs.answerInput("falsch");
    choose(page, "Bert");
    EXPECT_EQ(dialogs.texts(), QStringList{"Falsches Passwort!"});
    EXPECT_EQ(readFile("Benutzer/Bert.usr"), damaged);
    expectActive(page, "Anna");

    dialogs.messages.clear();
    dialogs.answerInput("pw");
    choose(page, "Bert");
    EXPECT_EQ(dialogs.texts(), QStringList{USER_RECREATED_MESSAGE});
    EXPECT_EQ(deciphered("Benutzer/Bert.usr"), UserRecord().plainLines());
    EXPECT_TRUE(readFile("Benutzer/Bert.bdg").endsWith("1.1.2002\r\n31.1.2002\r\n"));
    expectActive(page, "Bert");
    EXPECT_TRUE(page->txtUserPassword->text().isEmpty());

    // without a password nothing is asked; a budget file that cannot be written keeps the user listed
    dialogs.messages.clear();
    QFile::remove(path("Benutzer/Dora.bdg"));
    ASSERT_TRUE(QDir().mkpath(path("Benutzer/Dora.bdg")));
    choose(page, "Dora");
    EXPECT_EQ(dialogs.inputs.size(), 2);
    EXPECT_EQ(dialogs.texts(), QStringList{USER_FILES_WRITE_FAILED});
    EXPECT_TRUE(GetUserNames().contains("Dora"));
    expectActive(page, "Dora");
}

TEST_F(UserPageTest, AnUnlistedActiveUserGetsTheFirstUsersQuestion)
{
    writeUser("Carl", "geheim");
    G_ActiveUser = "Ghost";
    User* page = open("Ghost");
    ASSERT_EQ(dialogs.inputs.size(), 1); // refused: nothing to return to, so none is shown
    EXPECT_EQ(page->comUser->currentIndex(), -1);
    EXPECT_FALSE(page->txtUserPassword->isEnabled());
    EXPECT_TRUE(page->txtUserPassword->text().isEmpty());
    EXPECT_EQ(G_ActiveUser, "Ghost");
    EXPECT_EQ(form->Tag, "Ghost");
}
