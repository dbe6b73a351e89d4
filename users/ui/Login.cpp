#include "users/ui/Login.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/ui/FlatControl.h"
#include "core/ui/WindowUtils.h"
#include "users/UserRecord.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace {
const QString DAMAGED_RECORD =
    QStringLiteral("Die Benutzerdatei ist beschädigt. Bitte wählen Sie einen anderen Nutzer aus.");
const QString WRONG_PASSWORD =
    QStringLiteral("Das eingegebene Passwort ist falsch. Bitte überprüfen Sie Ihre Eingabe.");

QLabel* boldLabel(const QString& text, qreal scale, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1"));
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
    return label;
}

} // namespace

Login::Login(std::function<void(const QString&)> makeActive, const QString& preselect, QWidget* parent)
    : QDialog(parent), m_makeActive(std::move(makeActive)), m_preselect(preselect)
{
    setObjectName(QStringLiteral("Login"));
    setWindowTitle(QStringLiteral("Zumbrel 3 - Login"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    // Header band: the program's name and the dialog's purpose beside the icon.
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("Shape1"));
    header->setAutoFillBackground(true);
    header->setBackgroundRole(QPalette::Base);
    header->setFrameShape(QFrame::StyledPanel);
    auto* image = new QLabel(header);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(style()->standardIcon(QStyle::SP_DialogYesButton).pixmap(32, 32));
    auto* titles = new QVBoxLayout;
    titles->setSpacing(0);
    titles->addWidget(boldLabel(QStringLiteral("Zumbrel 3"), 1.4, header));
    titles->addWidget(boldLabel(QStringLiteral("Login"), 1.0, header));
    auto* headerRow = new QHBoxLayout(header);
    headerRow->addWidget(image);
    headerRow->addLayout(titles, 1);

    auto* Label2 = new QLabel(QStringLiteral("Willkommen bei Zumbrel. Bitte geben Sie Ihr Passwort ein:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    WrapLabel(Label2);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(false);
    KeepListWidth(Combo1, 16); // a long user name must not widen the dialog
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setEchoMode(QLineEdit::Password);

    Command1 = new QPushButton(QStringLiteral("O&K"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("A&bbrechen"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Login::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Login::Command2_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 8, 12, 12);
    body->addWidget(Label2);
    body->addWidget(Combo1);
    body->addWidget(Text1);
    body->addSpacing(6);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(header);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(340);
}

bool Login::Form_Load()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Combo1, Text1}) (new cFlatControl(this))->Attach(w);
    GetUsers();
    Text1->setFocus();
    return Combo1->count() > 0;
}

void Login::GetUsers()
{
    const QSignalBlocker block(Combo1);
    Combo1->clear();
    Combo1->addItems(GetUserNames());
    const int wanted = m_preselect.isEmpty() ? -1 : Combo1->findText(m_preselect, Qt::MatchExactly);
    Combo1->setCurrentIndex(Combo1->count() == 0 ? -1 : qMax(wanted, 0));
}

void Login::Command1_Click()
{
    const QString name = Combo1->currentText();
    if (name.isEmpty()) return;
    if (m_makeActive) m_makeActive(name);
    QString password;
    if (!ReadUserPassword(name, &password)) {
        MsgBox(DAMAGED_RECORD, vbOKOnly + vbCritical, APP_TITLE);
        return;
    }
    if (Text1->text() == password) {
        accept();
        return;
    }
    MsgBox(WRONG_PASSWORD, vbOKOnly + vbExclamation, QStringLiteral("Falsches Passwort"));
}

void Login::Command2_Click() { EndProgram(); }

void Login::reject() { Command2_Click(); }

void Login::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Command2_Click();
}

void ShowLogin(std::function<void(const QString&)> makeActive, const QString& preselect, QWidget* parent)
{
    Login login(std::move(makeActive), preselect, parent);
    if (!login.Form_Load()) return;
    login.exec();
}
