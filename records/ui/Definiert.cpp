#include "records/ui/Definiert.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "core/ui/LostFocus.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QString periodPath() { return ProgramPath(QStringLiteral("Config/Period.cfg")); }
} // namespace

Definiert::Definiert(QWidget* parent) : QDialog(parent)
{
    setObjectName("Definiert");
    setWindowTitle("Zeitraum");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(new QLabel("Bitte geben Sie den gewünschten Zeitraum ein:", this));
    auto* boxes = new QHBoxLayout;
    const char* labels[2] = {"Von", "bis"};
    for (int i = 0; i < 2; ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QString("Text1_%1").arg(i));
        Text1[i]->setFixedWidth(90);
        Text1[i]->installEventFilter(this);
        OnLostFocus(Text1[i], [this, i] { Text1_LostFocus(i); });
        boxes->addWidget(new QLabel(labels[i], this));
        boxes->addWidget(Text1[i]);
    }
    boxes->addStretch();
    outer->addLayout(boxes);
    Command1 = new QPushButton("O&K", this);
    Command2 = new QPushButton("A&bbrechen", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {Command1, Command2}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    outer->addLayout(buttons);
}

void Definiert::Form_Load()
{
    bool ok = false;
    const QStringList lines = ReadTextLines(periodPath(), &ok);
    if (ok) {
        for (int i = 0; i < 2; ++i) Text1[i]->setText(i < lines.size() ? lines[i] : QString());
    } else {
        for (QLineEdit* box : Text1) box->setText(ShortDate(Today()));
    }
    // once the dialog is shown, typing goes into "Von"
    QTimer::singleShot(0, this, [this] { Text1[0]->setFocus(); });
}

void Definiert::Text1_GotFocus(int index) { QTimer::singleShot(0, Text1[index], &QLineEdit::selectAll); }

void Definiert::Text1_LostFocus(int index) { Text1[index]->setText(FormatShortDate(Text1[index]->text())); }

void Definiert::Command1_Click()
{
    // a mnemonic takes no focus, and a box never visited may hold what the file held: store dates only
    FlushLostFocus(this);
    for (int i = 0; i < 2; ++i) Text1_LostFocus(i);
    if (!QDir().mkpath(ProgramPath(QStringLiteral("Config"))) ||
        !WriteTextLines(periodPath(), {Text1[0]->text(), Text1[1]->text()})) {
        MsgBox(QStringLiteral("Der Zeitraum konnte nicht gespeichert werden."), vbExclamation);
        return;
    }
    close();
}

void Definiert::Command2_Click() { close(); }

bool Definiert::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        for (int i = 0; i < 2; ++i)
            if (watched == Text1[i]) Text1_GotFocus(i);
    return QDialog::eventFilter(watched, event);
}
