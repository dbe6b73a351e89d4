#include "recording/ui/SmallWindow.h"

#include "core/Globals.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

namespace {
QPointer<SmallWindow> g_smallWindow;

const char* const DESIGN_CAPTIONS[4] = {"00:00:00", "0,000 €", "0 KB", "0.0 KB/s"};
} // namespace

SmallWindow::SmallWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName("SmallWindow");
    setWindowTitle(APP_TITLE);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Picture1 = new QFrame(this);
    Picture1->setObjectName("Picture1");
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Raised);
    Picture1->setAutoFillBackground(true);
    outer->addWidget(Picture1);

    auto* grid = new QGridLayout(Picture1);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < 4; ++i) {
        Label2[i] = new QLabel(QString::fromUtf8(DESIGN_CAPTIONS[i]), Picture1);
        Label2[i]->setObjectName(QString("Label2_%1").arg(i));
        Label2[i]->setAlignment((i % 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        if (i < 2) {
            QFont font = Label2[i]->font();
            font.setBold(true);
            Label2[i]->setFont(font);
        }
        grid->addWidget(Label2[i], i / 2, i % 2);
    }
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    Picture2 = new OpacitySlider(*this);
    row->addWidget(Picture2);
    row->addStretch(1);
    Command1 = new QPushButton(QStringLiteral("_"), Picture1);
    Command1->setObjectName("Command1");
    Command1->setFocusPolicy(Qt::NoFocus);
    Command1->setFixedSize(22, 18);
    connect(Command1, &QPushButton::clicked, this, &SmallWindow::Command1_Click);
    row->addWidget(Command1);
    grid->addLayout(row, 2, 0, 1, 2);
    setFixedSize(sizeHint().expandedTo(QSize(170, 0)));

    // the design position: the top right corner of the primary screen
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.right() - width() - 20, area.top() + 20);
    }
    RegisterForm(this);
}

SmallWindow::~SmallWindow()
{
    if (g_smallWindow == this) g_smallWindow = nullptr;
}

void SmallWindow::Form_Load()
{
    loading = true;
    opacity = SMALL_WINDOW_DEFAULT_OPACITY;
    Picture2->knobX = OpacityKnobX(opacity);
    Picture2->update();
    ApplyOpacity();
    LoadPos();
    loading = false;
}

void SmallWindow::LoadPos()
{
    const double twipsX = 1440.0 / logicalDpiX(), twipsY = 1440.0 / logicalDpiY();
    SmallWindowPlace place{x() * twipsX, y() * twipsY, opacity};
    QSize screen(0, 0);
    if (QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->geometry().size();
    LoadSmallWindowPlace(place, screen.width() * twipsX, screen.height() * twipsY);
    move(qRound(place.left / twipsX), qRound(place.top / twipsY));
    // the stored opacity takes effect at once, not only at the slider's next move
    opacity = place.opacity;
    Picture2->knobX = OpacityKnobX(opacity);
    Picture2->update();
    ApplyOpacity();
}

void SmallWindow::SavePos()
{
    if (loading) return;
    const double twipsX = 1440.0 / logicalDpiX(), twipsY = 1440.0 / logicalDpiY();
    SaveSmallWindowPlace({x() * twipsX, y() * twipsY, opacity});
}

void SmallWindow::ApplyOpacity()
{
    if (!OpacitySliderAvailable(G_WinVer)) {
        Picture2->hide();
        return;
    }
    Picture2->show();
    setWindowOpacity(opacity / 255.0);
}

void SmallWindow::slideTo(int x)
{
    x = qMax(2, qMin(x, OPACITY_SLIDER_WIDTH - 2));
    Picture2->knobX = x;
    Picture2->update();
    opacity = OpacityAtSliderX(x);
    ApplyOpacity();
}

void SmallWindow::Picture2_MouseDown(int) { sliderPressed = true; }

void SmallWindow::Picture2_MouseMove(int x)
{
    if (sliderPressed) slideTo(x);
}

void SmallWindow::Picture2_MouseUp(int x)
{
    if (sliderPressed) {
        slideTo(x);
        sliderPressed = false;
    }
    SavePos();
}

void SmallWindow::Picture1_DblClick()
{
    if (!Form1::exists()) return;
    Form1* form = Form1::instance();
    // hidden in the tray it is minimised too
    if (form->isMinimized() || !form->isVisible()) form->TrayIconMessage(515);
}

void SmallWindow::Command1_Click()
{
    if (Form1::exists()) Form1::instance()->showMinimized();
    showMinimized();
}

void SmallWindow::closeEvent(QCloseEvent* event)
{
    SavePos();
    QWidget::closeEvent(event);
}

// Shown for a restricted user, it stays out of the task list like the main window.
void SmallWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (Form1::exists() && Form1::instance()->cannotQuit()) SetTaskListHidden(this, true);
}

void SmallWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // on top again once activated, whatever other top-most window came up meanwhile
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) raise();
}

// Labels and the surface pass their presses on. The window moves only once the pointer does, so that
// a double-click still arrives as one.
void SmallWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    m_pressed = true;
    m_pressAt = event->globalPosition().toPoint();
    event->accept();
}

void SmallWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed || !(event->buttons() & Qt::LeftButton)) {
        m_pressed = false;
        return QWidget::mouseMoveEvent(event);
    }
    if ((event->globalPosition().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance()) return;
    m_pressed = false;
    if (windowHandle()) windowHandle()->startSystemMove();
}

void SmallWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_pressed = false;
    if (event->button() == Qt::LeftButton) Picture1_DblClick();
    event->accept();
}

OpacitySlider::OpacitySlider(SmallWindow& window) : QFrame(window.Picture1), m_window(window)
{
    setObjectName("Picture2");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(OPACITY_SLIDER_WIDTH + 2, OPACITY_SLIDER_HEIGHT + 2);
    setCursor(Qt::SizeHorCursor);
}

void OpacitySlider::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect inner = contentsRect();
    p.fillRect(inner, palette().base());
    // a filled box from x - 2 to x + 2, both ends included: five pixels wide
    const int from = qRound(knobX - 2), to = qRound(knobX + 2);
    p.fillRect(QRect(inner.left() + from, inner.top(), to - from + 1, OPACITY_SLIDER_HEIGHT), VbColor(0xC88000));
}

int OpacitySlider::innerX(const QMouseEvent* event) const
{
    return int(event->position().x()) - contentsRect().left();
}

void OpacitySlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) m_window.Picture2_MouseDown(innerX(event));
    event->accept();
}

void OpacitySlider::mouseMoveEvent(QMouseEvent* event)
{
    m_window.Picture2_MouseMove(innerX(event));
    event->accept();
}

void OpacitySlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) m_window.Picture2_MouseUp(innerX(event));
    event->accept();
}

// a double-click on the slider is two slides, not the surface's double-click
void OpacitySlider::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

SmallWindow* SmallWindowInstance() { return g_smallWindow; }

SmallWindow* ShowSmallWindow()
{
    if (!g_smallWindow) {
        g_smallWindow = new SmallWindow;
        g_smallWindow->Form_Load();
    } else {
        g_smallWindow->LoadPos();
    }
    g_smallWindow->show();
    return g_smallWindow;
}

void UnloadSmallWindow()
{
    SmallWindow* window = g_smallWindow;
    if (!window) return;
    g_smallWindow = nullptr;
    window->close();
    window->deleteLater();
}
