#include "DelSharedDialog.h"

#include "DialogUnits.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TDelSharedDialog::TDelSharedDialog(const QString& File, const QStringList& Texts, QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    auto text = [&Texts](int Id) { return Texts.value(Id - 15); };
    setWindowTitle(text(15));
    // The template's units follow the font its texts are shown in, so that they keep the room it gave them.
    const TDialogUnits units = TDialogUnits::OfFont(font());
    QSize size = units.Rect(0, 0, 266, 146).size();

    auto* message = new QLabel(text(16), this);
    message->setObjectName(QStringLiteral("101"));
    message->setGeometry(units.Rect(7, 9, 252, 59));
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* nameLabel = new QLabel(this);
    nameLabel->setObjectName(QStringLiteral("103"));
    nameLabel->setGeometry(units.Rect(7, 80, 50, 8));
    auto* folderLabel = new QLabel(this);
    folderLabel->setObjectName(QStringLiteral("105"));
    folderLabel->setGeometry(units.Rect(7, 98, 50, 8));

    const qsizetype slash = File.lastIndexOf(u'/');
    FileName = new QLineEdit(File.mid(slash + 1), this);
    FileName->setObjectName(QStringLiteral("104"));
    FileName->setGeometry(units.Rect(64, 77, 192, 14));
    Folder = new QLineEdit(File.left(slash + 1), this);
    Folder->setObjectName(QStringLiteral("106"));
    Folder->setGeometry(units.Rect(64, 95, 192, 14));
    for (QLineEdit* edit : {FileName, Folder}) {
        edit->setReadOnly(true);
        edit->setCursorPosition(0);
    }

    static const struct {
        int Id, X, Result;
    } buttons[] = {{107, 25, 6}, {108, 80, 10}, {109, 135, 7}, {110, 190, 9}};
    for (int i = 0; i < 4; ++i) {
        Buttons[i] = new QPushButton(this);
        Buttons[i]->setObjectName(QString::number(buttons[i].Id));
        Buttons[i]->setGeometry(units.Rect(buttons[i].X, 123, 50, 14));
        const int result = buttons[i].Result;
        connect(Buttons[i], &QPushButton::clicked, this, [this, result] { done(result); });
    }
    Buttons[0]->setDefault(true);
    Buttons[0]->setFocus();
    SetCaption(nameLabel, text(17));
    SetCaption(folderLabel, text(18));
    for (int i = 0; i < 4; ++i)
        SetCaption(Buttons[i], text(19 + i));

    // A message longer than the template's room (a translation from the log) makes the dialog taller
    // rather than losing its end, up to three quarters of the screen's height.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int most = screen ? screen->availableGeometry().height() * 3 / 4 : size.height();
    const int extra = qMin(message->heightForWidth(message->width()) - message->height(), most - size.height());
    if (extra > 0) {
        const QList<QWidget*> below = {nameLabel,  folderLabel, FileName,   Folder,
                                       Buttons[0], Buttons[1],  Buttons[2], Buttons[3]};
        for (QWidget* control : below)
            control->move(control->x(), control->y() + extra);
        message->resize(message->width(), message->height() + extra);
        size.rheight() += extra;
    }
    setFixedSize(size);
}

void TDelSharedDialog::closeEvent(QCloseEvent* Event)
{
    Event->ignore(); // no close box: the four buttons and Escape answer
}

void TDelSharedDialog::reject()
{
    done(7);
}
