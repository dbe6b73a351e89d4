// The program with a script in place of its user: every box is answered Yes (or OK), every shared-file
// prompt Yes, and Close is pressed once it is enabled. What it was shown goes to the standard output.
#include "DelSharedDialog.h"
#include "UninstallDialog.h"
#include "UninstallMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

void Say(const QString& Line)
{
    std::printf("%s\n", Line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) continue;
            if (auto* prompt = qobject_cast<TDelSharedDialog*>(window)) {
                Say(QStringLiteral("shared|") + prompt->Folder->text() + prompt->FileName->text());
                prompt->Buttons[0]->click();
                return;
            }
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TUninstallDialog*>(window);
            if (!dialog || !dialog->isVisible() || !dialog->CloseButton->isEnabled()) continue;
            for (int i = 0; i < dialog->List->count(); ++i)
                Say(QStringLiteral("line|") + dialog->List->item(i)->text());
            dialog->CloseButton->click();
        }
    });
    user.start(20);
    TLinuxSystem system;
    return UninstallMain(argc, argv,
                         [](QObject*, const QString& Caption, const QString& Text, quint32 Flags) {
                             Say(QStringLiteral("box|") + Caption + u'|' + Text);
                             return (Flags & MB_YESNO) ? IDYES : IDOK;
                         },
                         system);
}
