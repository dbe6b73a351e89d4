// Rules between the controls of the user page: which restriction boxes a user's choices leave usable.
#include "support/TestSupport.h"

#include "core/Globals.h"
#include "recording/ui/Form1.h"
#include "users/UserRecord.h"
#include "users/ui/User.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

namespace {
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
