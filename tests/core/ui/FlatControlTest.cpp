#include "support/TestSupport.h"

#include "core/ui/FlatControl.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QImage>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

namespace {

void Send(QWidget* w, QEvent::Type type)
{
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        QFocusEvent e(type, Qt::TabFocusReason);
        QApplication::sendEvent(w, &e);
    } else {
        QEvent e(type);
        QApplication::sendEvent(w, &e);
    }
}

class FlatControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        combo = new QComboBox(&window);
        combo->addItems({"eins", "zwei"});
        edit = new QLineEdit(&window);
        layout->addWidget(combo);
        layout->addWidget(edit);
        window.resize(200, 100);
        window.show();
    }
    QWidget window;
    QComboBox* combo = nullptr;
    QLineEdit* edit = nullptr;
};

TEST_F(FlatControlTest, ComboStatesFollowMouseFocusAndList)
{
    cFlatControl flat;
    flat.Attach(combo);
    EXPECT_EQ(flat.state(), cFlatControl::Flat);
    struct Step {
        const char* what;
        std::function<void()> act;
        int state;
    };
    const std::vector<Step> steps = {
        {"enter", [&] { Send(combo, QEvent::Enter); }, 2},
        {"leave without focus", [&] { Send(combo, QEvent::Leave); }, 1},
        {"focus", [&] { Send(combo, QEvent::FocusIn); }, 2},
        {"leave keeps the focused frame", [&] { Send(combo, QEvent::Leave); }, 2},
        {"list open", [&] { combo->showPopup(); }, 4},
        {"list closed, focus kept", [&] { combo->hidePopup(); }, 2},
        {"focus lost", [&] { Send(combo, QEvent::FocusOut); }, 1},
        {"list open without focus", [&] { combo->showPopup(); }, 4},
        {"list closed", [&] { combo->hidePopup(); }, 1},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(flat.state(), s.state) << s.what;
        EXPECT_EQ(flat.DroppedDown(), s.state == 4) << s.what;
    }
}

TEST_F(FlatControlTest, DisabledIsNeverHotAndNullAttachesNothing)
{
    cFlatControl flat;
    flat.Attach(edit);
    edit->setEnabled(false);
    Send(edit, QEvent::Enter);
    Send(edit, QEvent::FocusIn);
    EXPECT_EQ(flat.state(), 1);
    edit->setEnabled(true);
    EXPECT_EQ(flat.state(), 2);

    // A later attach lets go of the earlier control, a null one attaches nothing.
    flat.Attach(nullptr);
    EXPECT_EQ(flat.state(), 1);
    Send(edit, QEvent::Enter);
    EXPECT_EQ(flat.state(), 1);
    EXPECT_FALSE(flat.DroppedDown());
}

TEST_F(FlatControlTest, FrameIsDrawnInTheOuterTwoPixels)
{
    cFlatControl flat;
    flat.Attach(edit);
    const QPalette& pal = edit->palette();
    const QColor face = pal.color(QPalette::Button), light = pal.color(QPalette::Light),
                 shadow = pal.color(QPalette::Dark);
    const QPoint before = edit->pos();
    const int w = edit->width(), mid = edit->height() / 2;
    struct Case {
        const char* what;
        bool enabled;
        bool hot;
        QColor left, right, inner;
    };
    const Case cases[] = {
        {"flat", true, false, face, face, face},
        {"hot: sunken", true, true, shadow, light, face},
        {"disabled: highlighted inner frame", false, true, face, face, light},
    };
    for (const Case& c : cases) {
        edit->setEnabled(c.enabled);
        Send(edit, c.hot ? QEvent::Enter : QEvent::Leave);
        const QImage img = edit->grab().toImage();
        EXPECT_EQ(img.pixel(0, mid), c.left.rgb()) << c.what;
        EXPECT_EQ(img.pixel(w - 1, mid), c.right.rgb()) << c.what;
        EXPECT_EQ(img.pixel(1, mid), c.inner.rgb()) << c.what;
        EXPECT_EQ(img.pixel(w - 2, mid), c.inner.rgb()) << c.what;
    }
    EXPECT_EQ(edit->pos(), before);
}

TEST_F(FlatControlTest, EditPartCountsAsTheComboUntilTheComboIsGone)
{
    combo->setEditable(true);
    cFlatControl flat;
    flat.Attach(combo);
    Send(combo->lineEdit(), QEvent::FocusIn);
    EXPECT_EQ(flat.state(), 2);
    delete combo;
    combo = nullptr;
    EXPECT_EQ(flat.control(), nullptr);
    EXPECT_FALSE(flat.DroppedDown());
}

} // namespace
