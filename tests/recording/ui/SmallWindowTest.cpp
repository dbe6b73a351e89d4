#include "core/VB.h"
#include "recording/ui/SmallWindow.h"

#include "CounterPageFixture.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <cmath>

namespace {
double twipsX(const QWidget* w) { return 1440.0 / w->logicalDpiX(); }
double twipsY(const QWidget* w) { return 1440.0 / w->logicalDpiY(); }
QSize screenSize() { return QGuiApplication::primaryScreen()->geometry().size(); }
} // namespace

class SmallWindowTest : public CounterPageTest {
protected:
    void SetUp() override
    {
        CounterPageTest::SetUp();
        G_WinVer = "6.1";
    }
    void TearDown() override
    {
        UnloadSmallWindow();
        CounterPageTest::TearDown();
    }
};

TEST_F(SmallWindowTest, FirstCloseStoresPlaceAndDefaultOpacity)
{
    SmallWindow* w = ShowSmallWindow();
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w->opacity, 200);
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 200 / 255.0);
    EXPECT_TRUE(w->Picture2->isVisibleTo(w));
    EXPECT_NEAR(w->Picture2->knobX, 55 / 9.0 + 2, 1e-9);
    // the knob is a box from x - 2 to x + 2: five pixels wide, as tall as the slider
    const QImage slider = w->Picture2->grab().toImage();
    const QRect inner = w->Picture2->contentsRect();
    int knobColumns = 0, knobRows = 0;
    for (int x = inner.left(); x <= inner.right(); ++x)
        knobColumns += slider.pixelColor(x, inner.center().y()) == QColor(0, 128, 200);
    for (int y = inner.top(); y <= inner.bottom(); ++y) knobRows += slider.pixelColor(inner.left() + 8, y) == QColor(0, 128, 200);
    EXPECT_EQ(knobColumns, 5);
    EXPECT_EQ(knobRows, inner.height());
    const QPoint at = w->pos();
    UnloadSmallWindow();
    EXPECT_EQ(SmallWindowInstance(), nullptr);
    const QByteArray expected = (Str(std::round(at.x() * twipsX(w))) + "\r\n" + Str(std::round(at.y() * twipsY(w))) +
                                 "\r\n 200\r\n").toLatin1();
    EXPECT_EQ(readFile("Config/Smallwindowpos.cfg"), expected);
}

TEST_F(SmallWindowTest, StoredPlaceIsCorrectedOnlyFarBeyondThePrimaryScreen)
{
    SmallWindow* w = ShowSmallWindow();
    const double tx = twipsX(w), ty = twipsY(w);
    const double width = screenSize().width() * tx, height = screenSize().height() * ty;
    struct Case {
        double left, top;
        int opacity;
        double wantLeft, wantTop;
        int wantOpacity;
    };
    const Case cases[] = {
        {width + 1001, 300, 100, 900, 300, 100},          // far beyond the right edge
        {width + 500, height + 1500, 255, width + 500, 900, 255}, // near beyond stays; far below comes back
        {-3000, -450, 999, -3000, -450, 255},            // a screen to the left; opacity kept in a byte
        // a damaged edge far before the screen: a few screen sizes off, never beyond what a place can hold
        {-1e20, -HUGE_VAL, 7, -4 * width, -4 * height, 7},
        {1500, 1500, -4, 1500, 1500, 0},
    };
    // all digits, as a hand-edited file holds them
    const auto number = [](double v) {
        return std::isinf(v) ? "-" + QString(400, '9') : std::fabs(v) < 1e15 ? Str(v) : QString::number(v, 'f', 0);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left);
        writeFile("Config/Smallwindowpos.cfg",
                  (number(c.left) + "\r\n" + number(c.top) + "\r\n" + Str(c.opacity) + "\r\n").toLatin1());
        w->LoadPos();
        EXPECT_EQ(w->x(), qRound(c.wantLeft / tx));
        EXPECT_EQ(w->y(), qRound(c.wantTop / ty));
        EXPECT_EQ(w->opacity, c.wantOpacity);
        // the stored opacity applies at once
        EXPECT_DOUBLE_EQ(w->windowOpacity(), c.wantOpacity / 255.0);
    }
    // a short file keeps what it does not hold
    writeFile("Config/Smallwindowpos.cfg", " 3000\r\n");
    w->LoadPos();
    EXPECT_EQ(w->x(), qRound(3000 / tx));
    EXPECT_EQ(w->y(), qRound(1500 / ty));
    EXPECT_EQ(w->opacity, 0);
}

TEST_F(SmallWindowTest, SliderSetsOpacityAndStoresOnRelease)
{
    SmallWindow* w = ShowSmallWindow();
    w->Picture2_MouseMove(0); // not pressed: nothing moves
    EXPECT_EQ(w->opacity, 200);
    struct Case {
        int x;
        int opacity;
        double knob;
    };
    for (const Case& c : {Case{-10, 255, 2}, Case{0, 255, 2}, Case{3, 246, 3}, Case{12, 165, 12}, Case{500, 3, 30}}) {
        SCOPED_TRACE(c.x);
        w->Picture2_MouseDown(c.x);
        w->Picture2_MouseMove(c.x);
        EXPECT_EQ(w->opacity, c.opacity);
        EXPECT_DOUBLE_EQ(w->Picture2->knobX, c.knob);
        EXPECT_DOUBLE_EQ(w->windowOpacity(), c.opacity / 255.0);
    }
    w->Picture2_MouseUp(0);
    EXPECT_FALSE(w->sliderPressed);
    EXPECT_EQ(w->opacity, 255);
    EXPECT_TRUE(readFile("Config/Smallwindowpos.cfg").endsWith("\r\n 255\r\n"));

    // before the version 5 line no window is translucent: no slider there
    G_WinVer = "4.0";
    w->ApplyOpacity();
    EXPECT_FALSE(w->Picture2->isVisibleTo(w));
    G_WinVer = "4.0 XP";
    w->ApplyOpacity();
    EXPECT_TRUE(w->Picture2->isVisibleTo(w));
}

TEST_F(SmallWindowTest, FollowsTheCounterPageAndTheMainWindow)
{
    Connection* page = start();
    ASSERT_NE(page, nullptr);
    page->Check3->setChecked(true);
    SmallWindow* w = SmallWindowInstance();
    ASSERT_NE(w, nullptr);
    ticks(1);
    EXPECT_EQ(w->Label2[0]->text(), "00:00:02");
    EXPECT_EQ(w->Label2[1]->text(), "0,019 €");
    EXPECT_EQ(w->Label2[2]->text(), "0 KB ");
    EXPECT_EQ(w->Label2[3]->text(), "0.0 KB/s");
    page->Check3->setChecked(false);
    EXPECT_EQ(SmallWindowInstance(), nullptr);
    EXPECT_TRUE(exists("Config/Smallwindowpos.cfg"));

    // a double-click brings back a minimised main window, and only then
    page->Check3->setChecked(true);
    w = SmallWindowInstance();
    ASSERT_NE(w, nullptr);
    w->Picture1_DblClick();
    EXPECT_FALSE(form->isMinimized());
    w->Command1_Click(); // minimises both
    EXPECT_TRUE(form->isMinimized());
    EXPECT_TRUE(w->isMinimized());
    w->Picture1_DblClick();
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(w->isMinimized()); // the main window's return brings the floating window back too

    // the stop's tear-down closes it
    page->cmdStop_Click();
    spin(30);
    EXPECT_EQ(form->counterPage(), nullptr);
    EXPECT_EQ(SmallWindowInstance(), nullptr);

    // a recording started with the option on opens it; closing the program closes it
    start();
    ASSERT_NE(SmallWindowInstance(), nullptr);
    dialogs.answerMessage(vbNo);
    form->close();
    EXPECT_EQ(SmallWindowInstance(), nullptr);
    form = nullptr;
}
