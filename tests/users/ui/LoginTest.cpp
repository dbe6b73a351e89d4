#include "support/TestSupport.h"
#include "support/ui/WidgetHelpers.h"

#include "core/Globals.h"
#include "core/SystemUtils.h"
#include "users/ui/Login.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
int g_endCalls = 0;
void recordEnd() { ++g_endCalls; }

const QString WRONG = QStringLiteral("Das eingegebene Passwort ist falsch. Bitte überprüfen Sie Ihre Eingabe.");
const QString DAMAGED =
    QStringLiteral("Die Benutzerdatei ist beschädigt. Bitte wählen Sie einen anderen Nutzer aus.");

class LoginTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        g_endCalls = 0;
        SetEndProgramRoutine(recordEnd);
        writeUser("Anna", "");
        writeUser("Bernd", "geheim");
        writeUser("Supervisor", "pass");
    }
    void TearDown() override
    {
        SetEndProgramRoutine(nullptr);
        ProgramTest::TearDown();
    }
    void writeUser(const QString& name, const QString& password, int lines = 11)
    {
        QStringList plain{"0", "0", "0", "0", "0", "0", "0", "60", password, "0", "600"};
        writeCipher("Benutzer/" + name + ".usr", plain.mid(0, lines));
    }
    // A dialog as the start-up shows it, for the tag's user; it records whom it made active.
    std::unique_ptr<Login> open(const QString& tag)
    {
        auto login = std::make_unique<Login>([this](const QString& name) { activated << name; }, tag);
        EXPECT_TRUE(login->Form_Load());
        login->show();
        return login;
    }
    static void press(QWidget* target, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }

    QStringList activated;
};
} // namespace

TEST_F(LoginTest, ControlsAndPreselection)
{
    auto login = open("Bernd");
    EXPECT_EQ(login->Combo1->currentText(), "Bernd");
    EXPECT_FALSE(login->Combo1->isEditable());
    EXPECT_EQ(login->Text1->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(login->Command1->isDefault());
    EXPECT_EQ(login->Command1->text(), "O&K");
    EXPECT_EQ(login->Command2->text(), "A&bbrechen");
    EXPECT_TRUE(login->isModal());
    const auto* prompt = login->findChild<QLabel*>("Label2");
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->text(), "Willkommen bei Zumbrel. Bitte geben Sie Ihr Passwort ein:");
    QStringList items;
    for (int i = 0; i < login->Combo1->count(); ++i) items << login->Combo1->itemText(i);
    EXPECT_EQ(items, (QStringList{"Anna", "Bernd", "Supervisor"}));

    // A tag naming no listed user, or none, selects the first.
    EXPECT_EQ(open("Niemand")->Combo1->currentText(), "Anna");
    EXPECT_EQ(open("")->Combo1->currentText(), "Anna");
}

TEST_F(LoginTest, PasswordIsComparedExactly)
{
    auto login = open("Bernd");
    login->Text1->setText("Geheim");
    login->Command1_Click();
    EXPECT_EQ(dialogs.texts(), QStringList{WRONG});
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_EQ(dialogs.messages[0].title, "Falsches Passwort");
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(login->Text1->text(), "Geheim");
    // The user is made active before the test, at every attempt.
    EXPECT_EQ(activated, QStringList{"Bernd"});

    login->Text1->setText("geheim");
    login->Command1_Click();
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_FALSE(login->isVisible());
    EXPECT_EQ(login->result(), QDialog::Accepted);
    EXPECT_EQ(activated, (QStringList{"Bernd", "Bernd"}));
    EXPECT_EQ(g_endCalls, 0);
}

TEST_F(LoginTest, EmptyPasswordLogsInAUserWithoutOne)
{
    auto login = open("Anna");
    login->Command1_Click();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(login->result(), QDialog::Accepted);
}

TEST_F(LoginTest, DamagedRecordsKeepTheDialogOpen)
{
    writeUser("Kurz", "x", 8);
    writeFile("Benutzer/Kaputt.usr", QByteArray("\x93\x64\r\n").repeated(8) + "\x01\x02\x03\r\n");
    writeFile("Benutzer/Riesig.usr", QByteArray(70 * 1024, 'x'));
    auto login = open("");
    for (const char* name : {"Kurz", "Kaputt", "Riesig"}) {
        dialogs.messages.clear();
        login->Combo1->setCurrentText(name);
        ASSERT_EQ(login->Combo1->currentText(), name);
        login->Text1->setText("x");
        login->Command1_Click();
        EXPECT_EQ(dialogs.texts(), QStringList{DAMAGED}) << name;
        EXPECT_EQ(dialogs.messages.value(0).style, vbOKOnly + vbCritical) << name;
        EXPECT_EQ(dialogs.messages.value(0).title, APP_TITLE) << name;
        EXPECT_TRUE(login->isVisible()) << name;
    }
    // The record went away after the list was made.
    login->Combo1->setCurrentText("Anna");
    QFile::remove(path("Benutzer/Anna.usr"));
    dialogs.messages.clear();
    login->Command1_Click();
    EXPECT_EQ(dialogs.texts(), QStringList{DAMAGED});
}

TEST_F(LoginTest, KeysAndCancel)
{
    // Enter in the password box acts as OK.
    auto login = open("Bernd");
    login->Text1->setText("geheim");
    press(login->Text1, Qt::Key_Return);
    EXPECT_EQ(login->result(), QDialog::Accepted);
    EXPECT_FALSE(login->isVisible());
    EXPECT_EQ(activated, QStringList{"Bernd"});

    activated.clear();
    // Escape, the close button and "A&bbrechen" end the program; the dialog never closes by itself.
    login = open("Bernd");
    press(login->Text1, Qt::Key_Escape);
    EXPECT_EQ(g_endCalls, 1);
    login->close();
    EXPECT_EQ(g_endCalls, 2);
    login->Command2->click();
    EXPECT_EQ(g_endCalls, 3);
    EXPECT_TRUE(login->isVisible());
    EXPECT_TRUE(activated.isEmpty());
}

TEST_F(LoginTest, NoUserNoLogin)
{
    for (const char* name : {"Anna", "Bernd", "Supervisor"}) QFile::remove(path(QString("Benutzer/") + name + ".usr"));
    Login login(nullptr, "Supervisor");
    EXPECT_FALSE(login.Form_Load());
    // Returns at once instead of showing an empty dialog.
    ShowLogin(nullptr, "Supervisor", nullptr);
    EXPECT_EQ(g_endCalls, 0);
}

TEST_F(LoginTest, UserListAndPasswordHaveTheFlatLook)
{
    auto login = open("Anna");
    EXPECT_EQ(FlatDecorated(login.get()), QStringList({"Combo1", "Text1"}));
}
