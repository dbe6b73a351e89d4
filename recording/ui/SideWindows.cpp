#include "recording/ui/SideWindows.h"

#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ui/WindowUtils.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

namespace {
QPointer<ConStop> g_conStop;
QPointer<Alert> g_alert;

constexpr int CONSTOP_SECONDS = 120;
constexpr int ALERT_SECONDS = 30;

QString conStopText(int seconds)
{
    return QStringLiteral("Die Verbindung wird in %1 Sekunden getrennt!").arg(seconds);
}
QString alertText(int seconds) { return QStringLiteral("Das Fenster schließt in %1s.").arg(seconds); }

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    WrapLabel(label);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.3);
        label->setFont(font);
    }
    return label;
}

// Both windows: small, framed, above every other window, and not taking the focus from what the user types.
void setUpSideWindow(QWidget* window, const char* name, QStyle::StandardPixmap icon, QVBoxLayout*& text)
{
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(APP_TITLE);
    window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setAutoFillBackground(true);
    window->setStyleSheet(QStringLiteral("#%1 { border: 1px solid palette(dark); }").arg(QLatin1String(name)));
    window->setAttribute(Qt::WA_StyledBackground);

    auto* image = new QLabel(window);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(window->style()->standardIcon(icon).pixmap(32, 32));
    image->setAlignment(Qt::AlignTop);

    auto* row = new QHBoxLayout(window);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);
    row->addWidget(image, 0, Qt::AlignTop);
    text = new QVBoxLayout;
    row->addLayout(text, 1);
    window->setFixedWidth(360);
}
} // namespace

ConStop::ConStop(QWidget* parent) : QWidget(parent)
{
    QVBoxLayout* text = nullptr;
    setUpSideWindow(this, "ConStop", QStyle::SP_MessageBoxWarning, text);
    Label1 = addLabel(this, "Label1", QStringLiteral("Verbindungstrennung!"), true);
    Label2 = addLabel(this, "Label2",
                      QStringLiteral("Sie haben Ihr Budget/Zeitlimit überschritten und die automatische "
                                     "Verbindungstrennung wurde festgelegt."));
    Label3 = addLabel(this, "Label3", conStopText(CONSTOP_SECONDS));
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addWidget(Label3);

    secondsLeft = CONSTOP_SECONDS;
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &ConStop::Timer1_Timer);
    Timer1.start();
}

ConStop::~ConStop()
{
    if (g_conStop == this) g_conStop = nullptr;
}

void ConStop::Timer1_Timer()
{
    --secondsLeft;
    Label3->setText(conStopText(secondsLeft));
    if (secondsLeft > 0) return;
    Timer1.stop();
    const TickMessages messages; // a hang-up that failed says so once the window has gone
    // The countdown outlives the recording: whatever connection is the last one now is ended.
    const QPointer<ConStop> self(this);
    QList<RasConnInfo> conns;
    if (EnumRasConnections(conns) > 0) HangUpConnection(conns.last().hrasconn);
    // The hang-up waits with the event loop running; the window may have gone meanwhile.
    if (!self) return;
    if (g_conStop == this) g_conStop = nullptr;
    close();
    deleteLater();
}

void ConStop::mousePressEvent(QMouseEvent* event)
{
    // Labels and the icon pass their presses on, so the whole window acts as its title bar.
    if (event->button() == Qt::LeftButton && windowHandle()) {
        windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

Alert::Alert(QWidget* parent) : QWidget(parent)
{
    QVBoxLayout* text = nullptr;
    setUpSideWindow(this, "Alert", QStyle::SP_MessageBoxInformation, text);
    Label1 = addLabel(this, "Label1", QStringLiteral("Budgetüberschreitung!"), true);
    Label2 = addLabel(this, "Label2",
                      QStringLiteral("Sie überschreiten nun Ihr Budget. Diese Warnung können Sie in den Budget- "
                                     "einstellungen deaktivieren."));
    Label3 = addLabel(this, "Label3", alertText(ALERT_SECONDS));
    Command1 = new QPushButton(QStringLiteral("Schließen"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &Alert::Command1_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label3, 1);
    buttons->addWidget(Command1);
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addLayout(buttons);

    Countdown = ALERT_SECONDS;
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &Alert::Timer1_Timer);
    Timer1.start();
}

Alert::~Alert()
{
    if (g_alert == this) g_alert = nullptr;
}

void Alert::Timer1_Timer()
{
    --Countdown;
    Label3->setText(alertText(Countdown));
    if (Countdown > 0) return;
    Timer1.stop();
    UnloadAlert();
}

void Alert::Command1_Click() { UnloadAlert(); }

ConStop* ShowConStop()
{
    if (g_conStop) return g_conStop;
    g_conStop = new ConStop;
    g_conStop->show();
    return g_conStop;
}

Alert* ShowAlert(const QString& text)
{
    if (!g_alert) g_alert = new Alert;
    if (!text.isEmpty()) g_alert->Label2->setText(text);
    g_alert->Countdown = ALERT_SECONDS;
    g_alert->Label3->setText(alertText(ALERT_SECONDS));
    g_alert->Timer1.start(); // a reused window starts its 30 seconds again
    g_alert->show();
    g_alert->raise();
    return g_alert;
}

ConStop* ConStopWindow() { return g_conStop; }
Alert* AlertWindow() { return g_alert; }

void UnloadAlert()
{
    Alert* alert = g_alert;
    if (!alert) return;
    g_alert = nullptr;
    alert->Timer1.stop();
    alert->close();
    alert->deleteLater();
}
