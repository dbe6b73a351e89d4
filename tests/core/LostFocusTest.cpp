// A box saves when it loses the focus, and a page closed with the focus in a box saves that box once.
#include "core/ui/LostFocus.h"

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
