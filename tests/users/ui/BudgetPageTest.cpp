#include "core/Dialogs.h"
#include "recording/ui/Form1.h"
#include "users/BudgetPageValues.h"
#include "users/ui/Budget.h"

#include "support/BudgetRecordBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>

#include <memory>

namespace {
QStringList userLines(const QString& password) { return {"0", "0", "0", "0", "0", "0", "0", "60", password, "0", "600"}; }

class BudgetPageTest : public BudgetTest {
protected:
    void TearDown() override
    {
        page.reset();
        delete Form1::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        BudgetTest::TearDown();
    }
    void user(const QString& name, const QString& password = QString(), const QByteArray& budget =
                                                                              "5\r\n20\r\n30\r\n01.01.2001\r\n31.01.2001\r\n")
    {
        writeCipher("Benutzer/" + name + ".usr", userLines(password));
        writeFile("Benutzer/" + name + ".bdg", budget);
    }
    Budget& open(const QString& active = "Anna")
    {
        Form1::instance()->Tag = active;
        page = std::make_unique<Budget>(*Form1::instance());
        page->Form_Load();
        page->show();
        return *page;
    }
    void type(QLineEdit* box, const QString& text)
    {
        box->clear();
        for (int i = 1; i <= text.size(); ++i) box->setText(text.left(i));
    }
    QByteArray bdg(const QString& name) { return readFile("Benutzer/" + name + ".bdg"); }
    std::unique_ptr<Budget> page;
};
} // namespace

TEST_F(BudgetPageTest, TypedAmountsAndTheArrows)
{
    user("Anna");
    Budget& p = open();
    EXPECT_EQ(p.txtBudget[0]->text(), "5");
    EXPECT_EQ(p.txtBudget[4]->text(), "01.01.2001");
    type(p.txtBudget[0], "12.5");
    EXPECT_EQ(p.txtBudget[0]->text(), "13");
    EXPECT_EQ(bdg("Anna"), "13\r\n20\r\n30\r\n01.01.2001\r\n31.01.2001\r\n");
    type(p.txtBudget[2], "12,5");
    EXPECT_EQ(p.txtBudget[2]->text(), "12,5"); // kept until the box is left
    EXPECT_EQ(bdg("Anna"), "13\r\n12\r\n30\r\n01.01.2001\r\n31.01.2001\r\n");
    p.txtBudget_LostFocus(2);
    EXPECT_EQ(p.txtBudget[2]->text(), "12");
    type(p.txtBudget[3], "-5");
    p.txtBudget_LostFocus(3);
    EXPECT_EQ(p.txtBudget[3]->text(), "0");
    syncedFolders.clear();
    p.txtBudget[5]->setText("kein Datum");
    p.txtBudget_LostFocus(5);
    EXPECT_EQ(bdg("Anna"), "13\r\n12\r\n0\r\n01.01.2001\r\n15.01.2001\r\n");
    syncedFolders.removeDuplicates();
    EXPECT_EQ(syncedFolders, QStringList({"Benutzer"})); // an amount saved survives a power cut

    type(p.txtBudget[0], "9998");
    p.scrlBudget[0]->triggerAction(QScrollBar::SliderSingleStepSub); // the upper arrow
    EXPECT_EQ(p.txtBudget[0]->text(), "9999");
    p.scrlBudget[0]->triggerAction(QScrollBar::SliderSingleStepSub);
    EXPECT_EQ(p.txtBudget[0]->text(), "9999");
    EXPECT_TRUE(bdg("Anna").startsWith("9999\r\n"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(BudgetPageTest, OneBudgetForAllWithoutItsFileStartsAtTheDefaults)
{
    user("Anna");
    Budget& p = open();
    p.chkBudget[0]->setChecked(true);
    EXPECT_EQ(readFile("Benutzer/Budget.dat"), "0\r\n0\r\n0\r\n01.01.2001\r\n31.01.2001\r\n");
    EXPECT_EQ(readFile("Benutzer/Benutzer.dat"), " 1\r\n 0\r\n 0\r\n\r\n");
    EXPECT_EQ(p.lblRestTag->text(), BudgetPageValues::INACTIVE);
    EXPECT_FALSE(p.comBudgetUser->isEnabled());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(bdg("Anna"), "5\r\n20\r\n30\r\n01.01.2001\r\n31.01.2001\r\n");
}

TEST_F(BudgetPageTest, RemainingBudgetAsComputed)
{
    user("Anna");
    spent("15012001-080000.con", "1,20");
    spent("15012001-090000.con", "0,75");
    Budget& p = open();
    EXPECT_EQ(p.lblRestTag->text(), QString::fromUtf8("3,05 €"));
    EXPECT_EQ(p.barRestTag->value(), 60);
}

TEST_F(BudgetPageTest, RefusedPasswordsReturnToTheUserShownBefore)
{
    user("Anna");
    user("Bernd", "geheim", "7\r\n0\r\n0\r\n01.01.2001\r\n31.01.2001\r\n");
    Budget& p = open();
    // chosen by keyboard (no drop-down), cancelled: back to Anna without a prompt for her
    dialogs.answerInput("");
    p.comBudgetUser->setCurrentIndex(1);
    EXPECT_EQ(p.comBudgetUser->currentText(), "Anna");
    EXPECT_EQ(p.txtBudget[0]->text(), "5");
    ASSERT_EQ(dialogs.inputs.size(), 1);
    EXPECT_EQ(dialogs.inputs[0].prompt, QString::fromUtf8("Bitte geben Sie das Passwort für diesen Benutzer ein."));
    EXPECT_EQ(dialogs.inputs[0].title, "Passwortabfrage");
    EXPECT_TRUE(dialogs.inputs[0].masked);
    // asked again later; a wrong case is wrong
    dialogs.answerInput("Geheim");
    p.comBudgetUser->setCurrentIndex(1);
    EXPECT_EQ(dialogs.inputs.size(), 2);
    EXPECT_EQ(dialogs.texts(), QStringList({"Falsches Passwort!"}));
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbCritical);
    EXPECT_EQ(p.comBudgetUser->currentText(), "Anna");
    dialogs.answerInput("geheim");
    p.comBudgetUser->setCurrentIndex(1);
    EXPECT_EQ(p.txtBudget[0]->text(), "7");
}

TEST_F(BudgetPageTest, LostFilesAndShortRecords)
{
    const QString recreated = BudgetPageValues::BUDGET_RECREATED;
    user("Anna", QString(), "5\r\n20\r\n30\r\n");
    open();
    EXPECT_EQ(bdg("Anna"), " 0\r\n 0\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n");
    EXPECT_EQ(dialogs.texts(), QStringList({recreated}));
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_EQ(page->txtBudget[4]->text(), "01.01.2001");

    // a record of eight lines is no lost record
    dialogs.messages.clear();
    writeCipher("Benutzer/Anna.usr", userLines("").mid(0, 8));
    writeFile("Benutzer/Anna.bdg", "5\r\n20\r\n30\r\n01.01.2001\r\n31.01.2001\r\n");
    open();
    EXPECT_EQ(bdg("Anna"), "5\r\n20\r\n30\r\n01.01.2001\r\n31.01.2001\r\n");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // no record at all: the budget starts anew
    QFile::remove(path("Benutzer/Anna.usr"));
    open();
    EXPECT_EQ(bdg("Anna"), " 0\r\n 0\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n");
    EXPECT_EQ(dialogs.texts(), QStringList({recreated}));
}

// The settings pages share one title face.
TEST_F(BudgetPageTest, TitleInTheFaceOfTheOtherSettingsPages)
{
    user("Anna");
    Budget& budget = open();
    const QWidget* user = Form1::instance()->showPage("User");
    const QWidget* options = Form1::instance()->showPage("Options");
    ASSERT_TRUE(user && options);
    EXPECT_EQ(budget.lblTitel->text(), "Budgeteinstellungen");
    for (const QWidget* other : {user, options})
        EXPECT_EQ(budget.lblTitel->font(), other->findChild<QLabel*>("lblTitel")->font()) << other->objectName().toStdString();
}
