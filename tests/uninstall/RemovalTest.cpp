#include "RunFixture.h"

#include "UninstallMain.h"
#include "znRegIni.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>

#include <sys/stat.h>

namespace {

const QByteArray Shared = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\";
const QByteArray Fonts = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\\";

bool HasValue(const QByteArray& Key, const QByteArray& Name)
{
    quint32 size = 0;
    return RegReadValue(Key, Name, nullptr, size);
}

QByteArray B(const QString& S)
{
    return S.toUtf8();
}

} // namespace

TEST_F(RunTest, EveryStepInItsOrder)
{
    WriteBytes(QStringLiteral("app/pre.sh"), "");
    WriteBytes(QStringLiteral("app/post.sh"), "");
    WriteBytes(QStringLiteral("app/srv.dll"), "");
    WriteBytes(QStringLiteral("app/shared.dll"), "");
    WriteBytes(QStringLiteral("app/a.txt"), "");
    WriteBytes(QStringLiteral("app/data/x.dat"), "");
    WriteBytes(QStringLiteral("app/data/y.dat"), "");
    WriteBytes(QStringLiteral("app/data/keep.txt"), "");
    WriteBytes(QStringLiteral("app/a.hlp"), "");
    WriteBytes(QStringLiteral("app/a.gid"), "");
    WriteBytes(QStringLiteral("app/a.fts"), "");
    WriteBytes(QStringLiteral("menu/Vesko.desktop"), "");
    WriteBytes(QStringLiteral("config/vesko.ini"), "; kept\r\n[Main]\r\nPath=x\r\nOther=y\r\n");
    QDir().mkpath(App(QStringLiteral("empty/inner")));
    RegWriteString("HKLM\\Software\\Vesko", "Path", "x");
    RegWriteString("HKLM\\Software\\Vesko\\Sub", "v", "x");
    RegWriteString(Fonts, "Vesko Sans (TrueType)", "vesko.ttf");
    WriteLog({"[PreRunApp]",
              "1=pre.sh",
              "[SharedFiles]",
              "shared.dll=1",
              "[Shortcuts]",
              B(Path(QStringLiteral("menu/Vesko.lnk"))) + "=1",
              "[AddIni]",
              "vesko.ini,Main,Path=1",
              "[RegFonts]",
              "Vesko Sans (TrueType)=vesko.ttf",
              "[AddReg]",
              "HKLM\\Software\\Vesko\\Path=1",
              "[CreateKeys]",
              "HKLM\\Software\\Vesko\\Sub=1",
              "HKLM\\Software\\Vesko=1",
              "[RegServers]",
              "srv.dll=1",
              "[CopyFiles]",
              "a.txt=1",
              "data/*.dat=1",
              "shared.dll=1",
              "*.hlp=1",
              "[CreateDirs]",
              "empty=1",
              "empty/inner=1",
              "data=1",
              "[RunApp]",
              "1=post.sh,-q,,0,\"Starting post\",1"});
    boxAnswers = {IDYES};
    progress.Answers = {6};
    ASSERT_TRUE(Prepare());
    Work();

    EXPECT_EQ(progress.Lines,
              (QStringList{"Checking shared files... ok", "Removing shortcuts... ok", "Removing ini entries... ok",
                           "Unregister fonts... ok", "Removing registry values... ok", "Removing registry keys... ok",
                           "Unregister OLE servers... ok", "Removing files... ok", "Removing directories... ok",
                           "Starting post", "Application uninstall finished."}));
    EXPECT_EQ(progress.Bar, 10);
    EXPECT_EQ(progress.Maximum, 10);
    EXPECT_TRUE(progress.CloseEnabled);
    EXPECT_EQ(progress.Asked, QStringList{"shared.dll"});
    EXPECT_EQ(sim->Calls, (QStringList{"exec " + App("pre.sh") + " [] [] 1", "export " + App("srv.dll"),
                                       "typelib " + App("srv.dll"), "exec " + App("post.sh") + " [-q] [] 0"}));
    Exists({"app/a.txt", "app/data/x.dat", "app/data/y.dat", "app/shared.dll", "app/a.hlp", "app/a.gid", "app/a.fts",
            "menu/Vesko.desktop", "app/empty", "app/install.log", "app/Uninstall", "app/Uninstall.bmp"},
           false);
    Exists({"app/data/keep.txt", "app/srv.dll", "app"}, true);
    EXPECT_EQ(ReadBytes(QStringLiteral("config/vesko.ini")), "; kept\r\n[Main]\r\nOther=y\r\n");
    EXPECT_FALSE(HasValue(Fonts, "Vesko Sans (TrueType)"));
    EXPECT_FALSE(store->KeyExists(HKEY_LOCAL_MACHINE, "Software\\Vesko"));
}

TEST_F(RunTest, WhatStaysIsNamed)
{
    QDir().mkpath(Path(QStringLiteral("outside")));
    WriteBytes(QStringLiteral("outside/victim.txt"), "v");
    WriteBytes(QStringLiteral("elsewhere/e.txt"), "e");
    QFile::link(Path(QStringLiteral("outside")), App(QStringLiteral("linkout")));
    WriteBytes(QStringLiteral("app/locked.txt"), "");
    WriteBytes(QStringLiteral("app/gone.txt"), "");
    WriteBytes(QStringLiteral("app/ok.dll"), "");
    QDir().mkpath(App(QStringLiteral("folder.ini")));
    sim->RefusedPaths = {App(QStringLiteral("locked.txt"))};
    sim->ScheduleWorks = false; // as on Linux
    const QByteArray elsewhere = B(Path(QStringLiteral("elsewhere")));
    WriteLog({"[Shortcuts]", "../outside/victim.lnk=1", "[AddIni]", B(App("folder.ini")) + ",S,K=1", "[RegServers]",
              elsewhere + "/e.txt=1", "linkout/x.dll=1", "ok.dll=1", "[CopyFiles]", "../outside/victim.txt=1",
              elsewhere + "/*.txt=1", "linkout/*.txt=1", "locked.txt=1", "gone.txt=1", "[CreateDirs]", "../outside=1",
              "[RunApp]", "1=missing.sh,,,,\"never\",1"});
    boxAnswers = {IDYES};
    ASSERT_TRUE(Prepare());
    Work();
    const QString elsewhereText = QString::fromUtf8(elsewhere);
    EXPECT_EQ(progress.Lines,
              (QStringList{"Removing shortcuts... failed", "Not removed: ../outside/victim.lnk",
                           "Removing ini entries... failed", "Not removed: " + App("folder.ini"),
                           "Unregister OLE servers... failed", "Not removed: " + elsewhereText + "/e.txt",
                           "Not removed: linkout/x.dll", "Removing files... failed",
                           "Not removed: ../outside/victim.txt", "Not removed: " + elsewhereText + "/*.txt",
                           "Not removed: linkout/*.txt", "Not removed: locked.txt", "Removing directories... failed",
                           "Not removed: ../outside", "Application uninstall finished."}));
    EXPECT_EQ(progress.Bar, 10);
    Exists({"outside/victim.txt", "elsewhere/e.txt", "app/locked.txt", "app/linkout", "outside"}, true);
    Exists({"app/gone.txt"}, false);
    EXPECT_EQ(sim->Calls, (QStringList{"export " + App("ok.dll"), "typelib " + App("ok.dll"),
                                       "reboot " + App("locked.txt") + " -> "}));
}

TEST_F(RunTest, IniEntriesOnlyInOrdinaryFiles)
{
    // A pipe blocks its reader and a device never ends: both are named as not removed, and the run goes on.
    const QString pipe = App(QStringLiteral("pipe.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    struct stat zeroBefore {};
    ASSERT_EQ(::stat("/dev/zero", &zeroBefore), 0);
    WriteBytes(QStringLiteral("config/lf.ini"), "[S]\nk=1\nother=2\n");
    WriteBytes(QStringLiteral("app/a.txt"), "");
    // Written on Linux: LF line ends.
    WriteBytes(QStringLiteral("app/install.log"),
               "[AddIni]\n" + B(pipe) + ",S,k=1\n/dev/zero,S,k=1\nlf.ini,S,k=1\n[CopyFiles]\na.txt=1\n");
    boxAnswers = {IDYES};
    ASSERT_TRUE(Prepare());
    WorkWithin(std::chrono::seconds(30));
    EXPECT_EQ(progress.Lines,
              (QStringList{"Removing ini entries... failed", "Not removed: " + pipe, "Not removed: /dev/zero",
                           "Removing files... ok", "Application uninstall finished."}));
    EXPECT_EQ(progress.Bar, 10);
    EXPECT_TRUE(progress.CloseEnabled);
    Exists({"app/a.txt"}, false);
    EXPECT_EQ(ReadBytes(QStringLiteral("config/lf.ini")), "[S]\nother=2\n");
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(st.st_size, 0);
    ASSERT_EQ(::stat("/dev/zero", &st), 0);
    EXPECT_EQ(st.st_mode, zeroBefore.st_mode);
    EXPECT_EQ(st.st_rdev, zeroBefore.st_rdev);
}

TEST_F(RunTest, RefusedDeletionIsScheduledInTheSimulation)
{
    WriteBytes(QStringLiteral("app/locked.txt"), "");
    sim->RefusedPaths = {App(QStringLiteral("locked.txt"))};
    WriteLog({"[CopyFiles]", "locked.txt=1"});
    boxAnswers = {IDYES};
    ASSERT_TRUE(Prepare());
    Work();
    EXPECT_EQ(progress.Lines, (QStringList{"Removing files... ok", "Application uninstall finished."}));
    EXPECT_EQ(sim->Calls, QStringList{"reboot " + App("locked.txt") + " -> "});
}

TEST_F(RunTest, PreRunCancelKeepsTheInstallation)
{
    // The real system with a real script: exit code 1 cancels before any line.
    WriteBytes(QStringLiteral("app/check.sh"), "#!/bin/sh\nexit 1\n");
    QFile::setPermissions(App(QStringLiteral("check.sh")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteBytes(QStringLiteral("app/a.txt"), "");
    WriteLog({"[PreRunApp]", "1=check.sh,,,,\"Checking\",1", "[CopyFiles]", "a.txt=1"});
    TLinuxSystem real(App(QStringLiteral("Uninstall")));
    run = std::make_unique<TUninstallRun>(real);
    run->Progress = &progress;
    boxAnswers = {IDYES};
    ASSERT_TRUE(run->Prepare({QStringLiteral("Uninstall")}));
    Work();
    EXPECT_EQ(progress.Lines, QStringList{"Checking"});
    EXPECT_EQ(progress.Bar, 0);
    EXPECT_TRUE(progress.CloseEnabled);
    Exists({"app/a.txt", "app/install.log", "app/Uninstall", "app/Uninstall.bmp"}, true);
}

TEST_F(RunTest, PreRunStartWithoutWaitingCancels)
{
    WriteBytes(QStringLiteral("app/first.sh"), "");
    WriteBytes(QStringLiteral("app/second.sh"), "");
    WriteLog({"[PreRunApp]", "1=absent.sh,,,,\"no line\",1", "2=first.sh,,,x,,x", "3=first.sh,,,2,,0", "4=second.sh",
              "[CopyFiles]", "a=1"});
    boxAnswers = {IDYES};
    ASSERT_TRUE(Prepare());
    Work();
    // A missing file is skipped without its message; non-numbers read as normal show and waiting.
    EXPECT_EQ(sim->Calls,
              (QStringList{"exec " + App("first.sh") + " [] [] 1", "shell " + App("first.sh") + " [] [] 3"}));
    EXPECT_TRUE(progress.Lines.isEmpty());
    EXPECT_EQ(progress.Bar, 0);
    Exists({"app/Uninstall"}, true);
}

TEST_F(RunTest, StartChecks)
{
    // No log: its full default path, the program's caption, nothing deleted.
    RunUninstall({QStringLiteral("Uninstall")}, *sim);
    EXPECT_EQ(boxes, QStringList{"Vesko Uninstaller|Installation log file " + App("install.log") + " not found!"});

    // Entries before the first section are dropped: no section, so the log counts as damaged.
    boxes.clear();
    WriteBytes(QStringLiteral("app/install.log"), "a.txt=1\n[]a=1\n");
    WriteBytes(QStringLiteral("app/a.txt"), "");
    RunUninstall({QStringLiteral("Uninstall")}, *sim);
    EXPECT_EQ(boxes,
              QStringList{"Vesko Uninstaller|Installation log file " + App("install.log") + " is empty or damaged!"});

    // No to the question removes nothing.
    boxes.clear();
    FreeCachedIniFiles();
    WriteLog({"[Strings]", "4=A||B", "[CopyFiles]", "a.txt=1"});
    boxAnswers = {IDNO};
    RunUninstall({QStringLiteral("Uninstall")}, *sim);
    EXPECT_EQ(boxes, QStringList{"Vesko Uninstaller|A\rB"});
    Exists({"app/a.txt", "app/install.log", "app/Uninstall", "app/Uninstall.bmp"}, true);
}

TEST_F(RunTest, QtsOwnTextsFollowTheSystemLanguage)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    const QLocale system;
    QStringList yes;
    for (const char* language : {"de_DE", "en_GB"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(language)));
        int argc = 1;
        char name[] = "Uninstall";
        char* argv[] = {name, nullptr};
        // No log: the error box shows while the program runs.
        UninstallMain(
            argc, argv,
            [&yes](QObject*, const QString&, const QString&, quint32) {
                yes << QCoreApplication::translate("QPlatformTheme", "&Yes");
                return IDOK;
            },
            *sim);
    }
    QLocale::setDefault(system);
    EXPECT_EQ(yes, (QStringList{"&Ja", "&Yes"}));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
}

TEST_F(RunTest, BareLogNameIsTheProgramFoldersFile)
{
    WriteBytes(QStringLiteral("app/b.txt"), "");
    WriteBytes(QStringLiteral("config/other.log"), CrLf({"[CopyFiles]", "a.txt=1"}));
    WriteLog({"[CopyFiles]", "b.txt=1"}, QStringLiteral("other.log"));
    QDir::setCurrent(Path(QStringLiteral("config")));
    boxAnswers = {IDYES};
    ASSERT_TRUE(Prepare({QStringLiteral("Uninstall"), QStringLiteral("other.log")}));
    EXPECT_EQ(run->LogFileName, App("other.log"));
    Work();
    Exists({"app/b.txt", "app/other.log"}, false);
    Exists({"config/other.log"}, true);
}

TEST_F(RunTest, SharedFiles)
{
    for (const char* name : {"three.dll", "none.dll", "notcopied.dll", "one.dll", "last.dll", "font.ttf"})
        WriteBytes(QStringLiteral("app/") + name, "");
    RegWriteInteger(Shared, "three.dll", 3);
    RegWriteInteger(Shared, "one.dll", 1);
    RegWriteInteger(Shared, "notcopied.dll", 1);
    RegWriteInteger(Shared, "font.ttf", 1);
    RegWriteString(Fonts, "F", "font.ttf");
    const QList<QByteArray> log = {"[SharedFiles]", "three.dll=1", "none.dll=1",  "notcopied.dll=1", "font.ttf=1",
                                   "one.dll=1",     "last.dll=1",  "[RegFonts]",  "F=font.ttf",      "[RegServers]",
                                   "font.ttf=1",    "[CopyFiles]", "three.dll=1", "none.dll=1",      "font.ttf=1",
                                   "one.dll=1",     "last.dll=1"};
    const struct {
        QList<int> Answers;
        QStringList Asked, Gone;
    } cases[] = {
        // "No" keeps the file, its count, its server and its font.
        {{6, 7, 6, 6}, {"none.dll", "font.ttf", "one.dll", "last.dll"}, {"none.dll", "one.dll", "last.dll"}},
        // "Yes to all" at the first prompt removes the later ones without asking.
        {{10}, {"none.dll"}, {"none.dll", "font.ttf", "one.dll", "last.dll"}},
        {{6, 9}, {"none.dll", "font.ttf"}, {"none.dll"}},
    };
    for (const auto& c : cases) {
        for (const char* name : {"three.dll", "none.dll", "notcopied.dll", "one.dll", "last.dll", "font.ttf"})
            WriteBytes(QStringLiteral("app/") + name, "");
        RegWriteInteger(Shared, "three.dll", 3);
        RegWriteInteger(Shared, "font.ttf", 1);
        RegWriteString(Fonts, "F", "font.ttf");
        WriteLog(log);
        FreeCachedIniFiles();
        progress = TProgressRecorder();
        progress.Answers = c.Answers;
        sim->Calls.clear();
        boxAnswers = {IDYES};
        ASSERT_TRUE(Prepare());
        run->UninstallThread();
        EXPECT_EQ(progress.Asked, c.Asked);
        EXPECT_EQ(RegReadInteger(Shared, "three.dll", 0), 2);
        EXPECT_EQ(RegReadInteger(Shared, "notcopied.dll", 0), 1);
        const bool fontGone = c.Gone.contains("font.ttf");
        EXPECT_EQ(RegReadInteger(Shared, "font.ttf", -1), fontGone ? -1 : 1);
        EXPECT_EQ(HasValue(Fonts, "F"), !fontGone);
        EXPECT_EQ(sim->Calls.contains("export " + App("font.ttf")), fontGone);
        for (const char* name : {"three.dll", "none.dll", "notcopied.dll", "one.dll", "last.dll", "font.ttf"})
            EXPECT_EQ(QFileInfo::exists(App(name)), !c.Gone.contains(name)) << name;
        EXPECT_EQ(progress.Lines.first(), "Checking shared files... ok");
    }
    EXPECT_EQ(progress.PromptTexts.size(), 8);
    EXPECT_EQ(progress.PromptTexts[1].count(u'\r'), 2);
}

TEST_F(RunTest, LogLineHelpers)
{
    EXPECT_EQ(EntryName("a=b=c"), "a=b");
    EXPECT_EQ(EntryName("abc"), "");
    EXPECT_EQ(ExtractRegKey("HKLM\\a\\'x\\y'"), "HKLM\\a");
    EXPECT_EQ(ExtractRegValueName("HKLM\\a\\'x\\y'"), "x\\y");
    EXPECT_EQ(ExtractRegValueName("HKLM\\a\\\"x\\y\""), "\"x\\y\"");
    EXPECT_EQ(RegValueSplitPos("novalue"), 0);
    EXPECT_EQ(ChangeFileExt(QStringLiteral("a.b/c"), QStringLiteral(".lnk")), "a.b/c.lnk");
    EXPECT_EQ(ChangeFileExt(QStringLiteral("x/c.old.pif"), QStringLiteral(".lnk")), "x/c.old.lnk");
    QByteArrayList keys = {"HKLM\\A\\b", "hklm\\a", "HKLM\\A b", "HKLM\\a\\B\\c", "HKLM\\\xE4"};
    SortEntries(keys);
    EXPECT_EQ(keys, (QByteArrayList{"hklm\\a", "HKLM\\A b", "HKLM\\A\\b", "HKLM\\a\\B\\c", "HKLM\\\xE4"}));
}
