// A box saves when it loses the focus, and a page closed with the focus in a box saves that box once.
#include "core/ui/LostFocus.h"
#include "support/TestSupport.h"
#include "support/ui/WidgetHelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

TEST(LostFocusTest, LeavingAndClosingSaveOnce)
{
    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    auto* a = new QLineEdit;
    auto* combo = new QComboBox;
    combo->setEditable(true);
    layout->addWidget(a);
    layout->addWidget(combo);
    int savedA = 0, savedCombo = 0;
    OnLostFocus(a, [&] { ++savedA; });
    OnLostFocus(combo, [&] { ++savedCombo; });
    page.show();
    QApplication::setActiveWindow(&page);

    a->setFocus();
    combo->setFocus(); // its edit part takes the focus: no leave of the combo
    combo->lineEdit()->setFocus();
    EXPECT_EQ(savedA, 1);
    EXPECT_EQ(savedCombo, 0);

    FlushLostFocus(&page); // the navigation closes the page
    EXPECT_EQ(savedCombo, 1);
    a->setFocus(); // the focus-out that follows the flush saves nothing more
    EXPECT_EQ(savedCombo, 1);
    EXPECT_EQ(savedA, 1);

    FlushLostFocus(nullptr);
    QWidget other;
    FlushLostFocus(&other); // the focus is not on that page
    EXPECT_EQ(savedA, 1);
}

// A refused edit puts back the text the box had before the person changed it: the program's last text or
// the last one taken.
class TakeCheckedInputTest : public ProgramTest {};

TEST_F(TakeCheckedInputTest, RefusedEditGetsBackTheTextBeforeIt)
{
    QLineEdit box("60");
    OnLostFocus(&box, [] {});
    TypeInto(&box, "-5");
    EXPECT_FALSE(TakeCheckedInput(&box, {QString(), "nein"}));
    EXPECT_EQ(box.text(), "60");
    EXPECT_EQ(dialogs.texts(), QStringList{"nein"});
    EXPECT_EQ(dialogs.messages.value(0).icon(), int(vbExclamation));

    box.setText("70");
    TypeInto(&box, "7");
    EXPECT_TRUE(TakeCheckedInput(&box, {"7", QString()})); // taken though the text did not change
    TypeInto(&box, "x");
    EXPECT_FALSE(TakeCheckedInput(&box, {QString(), "nein"}));
    EXPECT_EQ(box.text(), "7");
}
