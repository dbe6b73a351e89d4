#include "DelSharedDialog.h"

#include "DialogUnits.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TDelSharedDialog::TDelSharedDialog(const QString& File, const QStringList& Texts, QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    auto text = [&Texts](int Id) { return Texts.value(Id - 15); };
    setWindowTitle(text(15));
    setFixedSize(DluRect(0, 0, 266, 146).size());

    auto* message = new QLabel(text(16), this);
    message->setObjectName(QStringLiteral("101"));
    message->setGeometry(DluRect(7, 9, 252, 59));
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* nameLabel = new QLabel(text(17), this);
    nameLabel->setGeometry(DluRect(7, 80, 50, 8));
    auto* folderLabel = new QLabel(text(18), this);
    folderLabel->setGeometry(DluRect(7, 98, 50, 8));

    const qsizetype slash = File.lastIndexOf(u'/');
    FileName = new QLineEdit(File.mid(slash + 1), this);
    FileName->setObjectName(QStringLiteral("104"));
    FileName->setGeometry(DluRect(64, 77, 192, 14));
    Folder = new QLineEdit(File.left(slash + 1), this);
    Folder->setObjectName(QStringLiteral("106"));
    Folder->setGeometry(DluRect(64, 95, 192, 14));
    for (QLineEdit* edit : {FileName, Folder}) {
        edit->setReadOnly(true);
        edit->setCursorPosition(0);
    }

    static const struct {
        int Id, X, Result;
    } buttons[] = {{107, 25, 6}, {108, 80, 10}, {109, 135, 7}, {110, 190, 9}};
    for (int i = 0; i < 4; ++i) {
        Buttons[i] = new QPushButton(text(19 + i), this);
        Buttons[i]->setObjectName(QString::number(buttons[i].Id));
        Buttons[i]->setGeometry(DluRect(buttons[i].X, 123, 50, 14));
        const int result = buttons[i].Result;
        connect(Buttons[i], &QPushButton::clicked, this, [this, result] { done(result); });
    }
    Buttons[0]->setDefault(true);
    Buttons[0]->setFocus();
}

void TDelSharedDialog::closeEvent(QCloseEvent* Event)
{
    Event->ignore(); // no close box: the four buttons and Escape answer
}

void TDelSharedDialog::reject()
{
    done(7);
}
