#include "UninstallMain.h"

#include "UninstallDialog.h"
#include "Uninstaller.h"
#include "znIniFile.h"
#include "znRegIni.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include <memory>

void RunUninstall(const QStringList& Arguments, TUninstallSystem& System)
{
    MsgBoxExtraFlags = MB_SETFOREGROUND;
    AppTitle = QStringLiteral("Vesko Uninstaller");
    TUninstallRun run(System);
    if (!run.Prepare(Arguments)) return;
    {
        TUninstallDialog dialog(run);
        dialog.exec();
        dialog.WaitForWorker();
    }
    run.Finish();
}

int UninstallMain(int& Argc, char** Argv, TMsgBoxAnswerer Answerer, TUninstallSystem& System)
{
    std::unique_ptr<QApplication> application;
    if (!QCoreApplication::instance()) application = std::make_unique<QApplication>(Argc, Argv);
    // Qt's own texts (the boxes' buttons) in the system's language, as far as Qt has it; the program's
    // own texts stay English unless the log gives others.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
    SetMsgBoxAnswerer(std::move(Answerer));
    SetScreenInfoSource([] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) return TScreenInfo{};
        const QRect all = screen->geometry();
        const QRect work = screen->availableGeometry();
        return TScreenInfo{TSize{all.width(), all.height()},
                           MakeRect(work.left(), work.top(), work.right() + 1, work.bottom() + 1)};
    });
    QStringList arguments;
    for (int i = 0; i < Argc; ++i)
        arguments << QFile::decodeName(Argv[i]);
    try {
        RunUninstall(arguments, System);
    } catch (const EInOutError& error) {
        ErrorBox(error.Message);
    } catch (const std::exception& error) {
        ErrorBox(QString::fromLocal8Bit(error.what()));
    }
    FreeCachedIniFiles();
    SetMsgBoxAnswerer(nullptr);
    return 0;
}
