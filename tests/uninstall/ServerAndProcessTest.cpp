#include "RunFixture.h"

#include "ServerUnreg.h"
#include "UninstallTexts.h"
#include "znUtils.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

void WriteScript(const QString& Path, const QByteArray& Body)
{
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + Body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray WaitForFile(const QString& Path)
{
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(Path) && timer.elapsed() < 10000)
        QThread::msleep(10);
    QThread::msleep(50);
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(RunTest, UnregistrationChain)
{
    const struct {
        const char* File;
        std::optional<qint32> Export;
        bool TypeLib;
        bool Result;
        QStringList Calls;
    } cases[] = {
        {"a.dll", -1, true, true, {"export a.dll", "typelib " + App("a.dll")}},
        {"b.dll", 0, true, true, {"export b.dll"}},
        {"c.tlb", std::nullopt, false, false, {"export c.tlb", "typelib " + App("c.tlb")}},
        {"d.EXE", std::nullopt, false, true, {"export d.EXE", "start d.EXE /UNREGSERVER"}},
    };
    QDir::setCurrent(App());
    for (const auto& c : cases) {
        sim->Calls.clear();
        sim->UnregisterExports.clear();
        if (c.Export) sim->UnregisterExports.insert(App(c.File), *c.Export);
        sim->TypeLibResult = c.TypeLib;
        EXPECT_EQ(UnregisterOleFile(*sim, c.File), c.Result) << c.File;
        EXPECT_EQ(sim->Calls, c.Calls) << c.File;
    }
}

TEST_F(RunTest, RealServerExportIsCalled)
{
    const QString mark = Path(QStringLiteral("mark"));
    qputenv("UNREG_PROBE_MARK", QFile::encodeName(mark));
    TLinuxSystem real(App(QStringLiteral("Uninstall")));
    qputenv("UNREG_PROBE_RESULT", "-5");
    EXPECT_EQ(real.CallUnregisterExport(QStringLiteral(UNREG_PROBE)), -5);
    EXPECT_FALSE(CallDllUnregisterServer(real, QStringLiteral(UNREG_PROBE)));
    qputenv("UNREG_PROBE_RESULT", "7");
    EXPECT_TRUE(CallDllUnregisterServer(real, QStringLiteral(UNREG_PROBE)));
    EXPECT_EQ(ReadBytes(QStringLiteral("mark")), "called\ncalled\ncalled\n");
    qunsetenv("UNREG_PROBE_MARK");
    qunsetenv("UNREG_PROBE_RESULT");
    // Not a library, and a library without the export.
    WriteBytes(QStringLiteral("app/text.dll"), "no library");
    EXPECT_EQ(real.CallUnregisterExport(App(QStringLiteral("text.dll"))), std::nullopt);
    EXPECT_EQ(real.CallUnregisterExport(QStringLiteral("/lib/x86_64-linux-gnu/libc.so.6")), std::nullopt);
}

TEST_F(RunTest, ExecutableServerGetsOneArgument)
{
    const QString out = Path(QStringLiteral("args"));
    WriteScript(App(QStringLiteral("x y.EXE")), "for a in \"$@\"; do echo \"[$a]\"; done > '" + out.toUtf8() + "'\n");
    TLinuxSystem real(App(QStringLiteral("Uninstall")));
    QDir::setCurrent(App());
    EXPECT_TRUE(UnregisterServer(real, QStringLiteral("x y.EXE")));
    EXPECT_EQ(WaitForFile(out), "[/UNREGSERVER]\n");
}

TEST_F(RunTest, ProgramsRunFromTheProgramFolder)
{
    // A bare name is the program folder's file, never one found on the search path.
    const QString out = Path(QStringLiteral("out"));
    WriteScript(App(QStringLiteral("ls")), "pwd > '" + out.toUtf8() + "'; echo \"$1|$2\" >> '" + out.toUtf8() +
                                               "'; exit 3\n");
    QDir().mkpath(Path(QStringLiteral("work dir")));
    TLinuxSystem real(App(QStringLiteral("Uninstall")), Path(QStringLiteral("opener")));
    run = std::make_unique<TUninstallRun>(real);
    run->Progress = &progress;
    WriteLog({"[Strings]", "1=x"});
    boxAnswers = {IDYES};
    ASSERT_TRUE(run->Prepare({QStringLiteral("Uninstall")}));
    const QByteArray folder = "\"" + Path(QStringLiteral("work dir")).toUtf8() + "\"";
    EXPECT_EQ(run->RunLogApp("ls,\"a b\" c," + folder + ",0,,1"), 3);
    EXPECT_EQ(ReadBytes(QStringLiteral("out")), Path(QStringLiteral("work dir")).toUtf8() + "\na b|c\n");

    // Anything else goes to the opener, waited for: 0 when it succeeded, else -1.
    WriteBytes(QStringLiteral("app/readme.txt"), "");
    WriteScript(Path(QStringLiteral("opener")), "echo \"$1\" > '" + out.toUtf8() + "'; exit 0\n");
    EXPECT_EQ(run->RunLogApp("readme.txt"), 0);
    EXPECT_EQ(ReadBytes(QStringLiteral("out")), App(QStringLiteral("readme.txt")).toUtf8() + "\n");
    WriteScript(Path(QStringLiteral("opener")), "exit 4\n");
    EXPECT_EQ(run->RunLogApp("readme.txt"), -1);
    QFile::remove(Path(QStringLiteral("opener")));
    EXPECT_EQ(run->RunLogApp("readme.txt"), -1);
    EXPECT_EQ(run->RunLogApp("readme.txt,,,,,0"), 2);

    // A crash is no exit code; a start without waiting is 33.
    WriteScript(App(QStringLiteral("crash")), "kill -SEGV $$\n");
    EXPECT_EQ(run->RunLogApp("crash"), -1);
    EXPECT_EQ(run->RunLogApp("crash,,,,,0"), 33);
    EXPECT_TRUE(progress.Lines.isEmpty());
}

TEST(Texts, FontSpec)
{
    const struct {
        QByteArray Spec;
        QByteArray Name;
        qint32 Size, Color;
        quint8 Style;
    } cases[] = {
        {"Arial,14,0,B", "Arial", 14, 0, fsBold},
        {"Courier New,10,255,BIUS", "Courier New", 10, 255, fsBold | fsItalic | fsUnderline | fsStrikeOut},
        {"Tahoma", "Tahoma", 8, 0, 0},
        {"X, 14 ,$FF00,bius", "X", 8, 0xFF00, 0},
        {"X, 14,0x10,SxB", "X", 14, 0, fsBold | fsStrikeOut},
        {"'A,B',-3,,", "A,B", -3, 0, 0},
    };
    for (const auto& c : cases) {
        const TFontSpec font = ParseFontSpec(c.Spec);
        EXPECT_EQ(font.Name, c.Name) << c.Spec.constData();
        EXPECT_EQ(font.Size, c.Size) << c.Spec.constData();
        EXPECT_EQ(font.Color, c.Color) << c.Spec.constData();
        EXPECT_EQ(font.Style, c.Style) << c.Spec.constData();
    }
    EXPECT_EQ(MulDiv(14, 96, 72), 19);
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
    EXPECT_EQ(MulDiv(-3, 3, 2), -5);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    const TLogFont font = MakeLogFont(QByteArray(40, 'n'), 10, fsBold | fsUnderline, 0, 120);
    EXPECT_EQ(font.Height, -17);
    EXPECT_EQ(font.Weight, 700);
    EXPECT_FALSE(font.Italic);
    EXPECT_TRUE(font.Underline);
    EXPECT_EQ(font.FaceName.size(), 31);
}

TEST_F(RunTest, TextsFromTheLog)
{
    WriteLog({"[Strings]", "1=", "23=Schlie\xDF" "en", "5=a||||b", "[Display]", "DialogTitleFont=Tahoma"});
    boxAnswers = {IDNO};
    Prepare();
    EXPECT_EQ(run->Str(1), QString());
    EXPECT_EQ(run->Str(23), QStringLiteral("Schließen"));
    EXPECT_EQ(run->Str(5), QStringLiteral("a\r\rb"));
    EXPECT_EQ(run->Str(16).count(QLatin1String(".  ")), 3);
    EXPECT_TRUE(run->Str(16).contains(QLatin1String("shared file?\r\rLeaving")));
    EXPECT_EQ(run->Str(26), QStringLiteral("Installation log file %s is empty or damaged!"));
}
