#include "records/ui/Difference.h"
#include "core/NumberRange.h"
#include "records/ConnectionList.h"
#include "records/ui/Definiert.h"
#include "support/TestSupport.h"
#include "support/ui/WidgetHelpers.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

using DifferenceTest = ProgramTest;

TEST_F(DifferenceTest, OkInAnEmptyFolderWritesTheDefaults)
{
    Difference dlg;
    dlg.Form_Load();
    EXPECT_EQ(dlg.comCategory->currentIndex(), 0);
    EXPECT_FALSE(dlg.Text1[0]->isEnabled());
    dlg.Command1_Click(0);
    EXPECT_EQ(readFile("Config/Difference.cfg"),
              QByteArray(" 0\r\n0,00\r\n0,00\r\n0,00\r\n00:00:00\r\n00:00:00\r\n00:00:00\r\n500\r\n5000\r\n10000\r\n"));
}

TEST_F(DifferenceTest, BoxesNormaliseWhenLeft)
{
    Difference dlg;
    dlg.Form_Load();
    dlg.comCategory->setCurrentIndex(2);
    EXPECT_TRUE(dlg.Frame1[1]->isVisibleTo(&dlg));
    EXPECT_FALSE(dlg.Frame1[0]->isVisibleTo(&dlg));
    const struct {
        QLineEdit* box;
        std::function<void()> leave;
        const char* typed;
        const char* shown;
    } cases[] = {{dlg.Text1[0], [&] { dlg.Text1_LostFocus(0); }, "7.5", "7,5"},
                 {dlg.Text1[1], [&] { dlg.Text1_LostFocus(1); }, "7,5", "7,5"},
                 {dlg.Text1[2], [&] { dlg.Text1_LostFocus(2); }, "abc", "0"},
                 {dlg.Text2[0], [&] { dlg.Text2_LostFocus(0); }, "0:90", "01:30:00"},
                 {dlg.Text1[0], [&] { dlg.Text1_LostFocus(0); }, "7,555", "7,555"},
                 {dlg.Text3[0], [&] { dlg.Text3_LostFocus(0); }, "0.5", "0,5"},
                 {dlg.Text3[1], [&] { dlg.Text3_LostFocus(1); }, "0,00005", "0,00005"},
                 {dlg.Text3[0], [&] { dlg.Text3_LostFocus(0); }, "0,5", "0,5"},
                 {dlg.Text3[1], [&] { dlg.Text3_LostFocus(1); }, "1E+08", "1"},
                 {dlg.Text3[2], [&] { dlg.Text3_LostFocus(2); }, "1,5", "1,5"}};
    // the threshold the list takes from a volume line holding this text
    const auto listed = [&](const QString& text) {
        writeFile("Config/Difference.cfg",
                  " 3\r\n0\r\n0\r\n0\r\n0:0:0\r\n0:0:0\r\n0:0:0\r\n" + text.toLatin1() + "\r\n");
        ListMarking marking;
        LoadConnectionList({}, marking);
        return marking.limits[0];
    };
    for (const auto& c : cases) {
        c.box->setText(c.typed);
        c.leave();
        EXPECT_EQ(c.box->text(), c.shown) << c.typed;
        if (c.box == dlg.Text3[0] || c.box == dlg.Text3[1] || c.box == dlg.Text3[2]) {
            EXPECT_EQ(listed(c.box->text()), listed(c.typed)) << c.typed; // the box reads as the list
        }
    }
    EXPECT_EQ(dlg.Text3[3]->text(), "1,5"); // box 3 follows box 2
}

// The volume box reads as the list and the print page read its line: "0.5" and "0,5" stay half a KB.
TEST_F(DifferenceTest, VolumeThresholdsKeepTheirValueOverLeaves)
{
    writeFile("Config/Difference.cfg", " 3\r\n0,00\r\n0,00\r\n0,00\r\n00:00:00\r\n00:00:00\r\n00:00:00\r\n"
                                      "0,5\r\n1.5\r\n10000\r\n");
    Difference dlg;
    dlg.Form_Load();
    TypeInto(dlg.Text3[2], "0.5");
    for (int leave = 0; leave < 3; ++leave)
        for (int i = 0; i < 3; ++i) {
            dlg.Text3_LostFocus(i);
            EXPECT_EQ(dlg.Text3[i]->text(), i == 1 ? "1,5" : "0,5") << i << " " << leave;
        }
    dlg.Command1_Click(0);
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_TRUE(readFile("Config/Difference.cfg").endsWith("0,5\r\n1,5\r\n0,5\r\n"));
}

TEST_F(DifferenceTest, ThresholdsOutsideTheirRangesGetTheTextBeforeTheEditBack)
{
    Difference dlg;
    dlg.Form_Load();
    const struct {
        QLineEdit* box;
        std::function<void()> leave;
        const char* typed;
        QString message; // empty: taken, as `shown`
        const char* shown;
    } cases[] = {
        {dlg.Text1[0], [&] { dlg.Text1_LostFocus(0); }, "10000000", AMOUNT_RANGE.message(), "0,00"},
        {dlg.Text1[1], [&] { dlg.Text1_LostFocus(1); }, "-1", AMOUNT_RANGE.message(), "0,00"},
        {dlg.Text1[2], [&] { dlg.Text1_LostFocus(2); }, "0,00001", AMOUNT_RANGE.message(), "0,00"}, // never "1E-05"
        {dlg.Text2[0], [&] { dlg.Text2_LostFocus(0); }, "-05:00:00", DURATION_RANGE_MESSAGE, "00:00:00"},
        {dlg.Text2[1], [&] { dlg.Text2_LostFocus(1); }, "10000", DURATION_RANGE_MESSAGE, "00:00:00"},
        {dlg.Text3[0], [&] { dlg.Text3_LostFocus(0); }, "1000000000000000", COUNT_RANGE.message(), "500"},
        {dlg.Text3[1], [&] { dlg.Text3_LostFocus(1); }, "-5", COUNT_RANGE.message(), "5000"},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        TypeInto(c.box, c.typed);
        c.leave();
        EXPECT_EQ(dialogs.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.typed;
        EXPECT_EQ(c.box->text(), c.shown) << c.typed;
    }
    dlg.Command1_Click(0);
    EXPECT_EQ(readFile("Config/Difference.cfg"),
              QByteArray(" 0\r\n0,00\r\n0,00\r\n0,00\r\n00:00:00\r\n00:00:00\r\n00:00:00\r\n500\r\n5000\r\n10000\r\n"));
}

TEST_F(DifferenceTest, ShortFileKeepsDefaultsAndBadCategoryIsNone)
{
    writeFile("config/DIFFERENCE.CFG", " 7\r\n1,5\r\n");
    const DifferenceSettings s = LoadDifferenceSettings();
    EXPECT_EQ(s.category, 0);
    EXPECT_EQ(s.cost[0], "1,5");
    EXPECT_EQ(s.cost[1], "0,00");
    EXPECT_EQ(s.volume[2], "10000");
}

TEST_F(DifferenceTest, PeriodDialogStoresDates)
{
    Definiert dlg;
    dlg.Form_Load();
    EXPECT_EQ(dlg.Text1[0]->text(), "17.01.2001");
    dlg.Text1[0]->setText("5.3.03");
    dlg.Text1[1]->setText("xyz");
    dlg.Command1_Click();
    EXPECT_EQ(readFile("Config/Period.cfg"), QByteArray("05.03.2003\r\n17.01.2001\r\n"));
}
