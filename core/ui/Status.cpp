#include "core/ui/Status.h"

#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/ui/WindowUtils.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
QPointer<Status> g_status;

QString stateText(quint32 state)
{
    switch (state) {
    case RASCS_OpenPort: return QStringLiteral("Wähle.");
    case RASCS_PortOpened: return QStringLiteral("Wähle..");
    case RASCS_ConnectDevice: return QStringLiteral("Wähle...");
    case RASCS_DeviceConnected:
    case RASCS_AllDevicesConnected: return QStringLiteral("Verbunden...");
    case RASCS_Authenticate: return QStringLiteral("Benutzernamen und Passwort überprüfen...");
    case RASCS_AuthNotify: return QStringLiteral("Benutzername oder Passwort ist falsch!");
    case RASCS_Authenticated: return QStringLiteral("Bestätigt...");
    case RASCS_WaitForModemReset: return QStringLiteral("Warte auf Modem Reset...");
    case RASCS_LogonNetwork: return QStringLiteral("Netwerk einloggen...");
    case RASCS_PasswordExpired: return QStringLiteral("Falsches Passwort!");
    case RASCS_Disconnected: return QStringLiteral("Verbindung getrennt!");
    default: return QStringLiteral("Wähle...");
    }
}
} // namespace

Status::Status(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Status"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Wähle DFÜ Verbindung..."));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(32, 32));
    Label1 = new QLabel(QStringLiteral("Wähle"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(260);
    Command1 = new QPushButton(QStringLiteral("A&bbrechen"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &Status::Command1_Click);

    auto* row = new QHBoxLayout;
    row->addWidget(Image1);
    row->addWidget(Label1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    RegisterForm(this);
    Form_Load();
}

Status::~Status() { Form_Unload(); }

void Status::Form_Load()
{
    m_dial.emplace(Wait::Dial);
    m_hook = connect(&ThePhoneBook(), &PhoneBook::dialEvent, this,
                     [this](quint32, quint32 state, quint32) { OnRasDialEvent(state); });
}

void Status::Form_Unload()
{
    // Later notifications of the dial go nowhere.
    disconnect(m_hook);
    if (g_status == this) g_status = nullptr;
    m_dial.reset();
}

void Status::closeEvent(QCloseEvent* event)
{
    // Only the window system's close is a person's: with the window gone pppd would dial on with nothing
    // left to stop it, and the dial's shut-out would end with it.
    if (event->spontaneous() && !cancelDial()) {
        event->ignore();
        return;
    }
    // Not QDialog's: it takes every close of a visible dialog for a rejection.
    Form_Unload();
    event->accept();
}

void Status::OnRasDialEvent(quint32 state)
{
    Label1->setText(QStringLiteral("Wähle..."));
    if (state == RASCS_Connected) {
        close();
        return;
    }
    Label1->setText(stateText(state) + QStringLiteral(" (") + QString::number(state) + QStringLiteral(")"));
}

bool Status::cancelDial()
{
    if (m_cancelling) return false;
    m_cancelling = true;
    G_DialedHere = false;
    const QPointer<Status> self(this);
    HangUpConnection(G_hRasConn); // serves clicks while it waits
    if (!self) return false;
    m_cancelling = false;
    return true;
}

void Status::Command1_Click()
{
    if (cancelDial()) close();
}

void Status::reject() { Command1_Click(); }

Status* StatusWindow()
{
    if (!g_status) g_status = new Status;
    return g_status;
}

void ShowStatusWindow(bool modal)
{
    if (!g_status) return;
    if (modal) g_status->exec();
    else g_status->show();
}

void InstallDialProgressWindow()
{
    const auto load = [] { StatusWindow(); };
    const auto unload = [] {
        if (g_status) g_status->close();
    };
    SetDialProgressWindow({load, unload});
}
