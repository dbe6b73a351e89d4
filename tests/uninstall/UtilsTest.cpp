#include "UninstallTestSupport.h"
#include "znUtils.h"

#include <QElapsedTimer>

TEST(Utils, CentringInTheWorkArea)
{
    const TSize screen{1024, 768};
    const TRect work = MakeRect(0, 40, 1024, 768);
    EXPECT_EQ(CenterWindowRect(MakeRect(0, 0, 301, 201), work, screen), MakeRect(361, 303, 662, 504));
    EXPECT_EQ(CenterWindowRect(MakeRect(5, 5, 1105, 305), work, screen), MakeRect(0, 254, 1100, 554));
    EXPECT_EQ(CenterWindowRect(MakeRect(0, 0, 100, 100), MakeRect(60, 0, 1024, 768), screen),
              MakeRect(492, 334, 592, 434));
    TRect tall = MakeRect(0, 700, 10, 1500);
    FitRectToScreen(tall, screen);
    EXPECT_EQ(tall, MakeRect(0, 0, 10, 800));
}

TEST(Utils, BoxesGoThroughTheAnswerer)
{
    QStringList seen;
    quint32 flags = 0;
    SetMsgBoxAnswerer([&](QObject*, const QString& caption, const QString& text, quint32 f) {
        seen << caption << text;
        flags = f;
        return IDYES;
    });
    AppTitle.clear();
    MsgBoxExtraFlags = MB_SETFOREGROUND;
    ErrorBox(QStringLiteral("e"));
    EXPECT_EQ(flags, MB_SETFOREGROUND | MB_TASKMODAL | MB_ICONERROR);
    EXPECT_EQ(QuestionBox(QStringLiteral("q")), IDYES);
    EXPECT_EQ(flags, MB_SETFOREGROUND | MB_TASKMODAL | MB_YESNO | MB_ICONQUESTION);
    AppTitle = QStringLiteral("Setup");
    QuestionBox(QStringLiteral("r"));
    EXPECT_EQ(seen, (QStringList{"Error", "e", "Question", "q", "Setup", "r"}));
    SetMsgBoxAnswerer(nullptr);
    EXPECT_EQ(QuestionBox(QStringLiteral("nobody")), 0);
    AppTitle.clear();
    MsgBoxExtraFlags = 0;
}

TEST(Utils, VersionRecord)
{
    const struct {
        quint32 Platform;
        int Major, Minor, Build;
        QByteArray Sp;
        int Kind;
        QByteArray Version, Description;
    } cases[] = {
        {VER_PLATFORM_WIN32_NT, 5, 0, 2195, "Service Pack 4", 4, "5.0", "Windows 2000 5.0.2195 Service Pack 4"},
        {VER_PLATFORM_WIN32_NT, 5, 1, 2600, "Service Pack 2", 6, "5.01", "Windows XP 5.01.2600 Service Pack 2"},
        {VER_PLATFORM_WIN32_NT, 4, 0, 1381, "", 3, "4.0", "Windows NT 4.0.1381"},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A0898, " A ", 2, "4.10", "Windows 98 4.10.2200  A"},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950, "", 1, "4.0", "Windows 95 4.0.0950"},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000, "", 5, "4.90", "Windows Me 4.90.3000"},
        {VER_PLATFORM_WIN32s, 3, 10, 1, "", 0, "3.10", "Windows 32s 3.10.0001"},
    };
    for (const auto& c : cases) {
        const TOSVersion v = GetOSVersion(c.Platform, c.Major, c.Minor, c.Build, c.Sp);
        EXPECT_EQ(v.Kind, c.Kind) << c.Description.constData();
        EXPECT_EQ(v.Version, c.Version);
        EXPECT_EQ(v.Description, c.Description);
    }
    EXPECT_EQ(OSVersion.Kind, 6);
}

TEST(Utils, SmallQueries)
{
    EXPECT_EQ(StrToIntZero("12"), 12);
    EXPECT_EQ(StrToIntZero(""), 0);
    EXPECT_EQ(StrToIntZero("x"), 0);
    QElapsedTimer timer;
    timer.start();
    ProcessMessages();
    EXPECT_GE(timer.elapsed(), 1);
    EXPECT_FALSE(GetAppFileName().isEmpty());
    EXPECT_EQ(SafeLoadLibrary(QStringLiteral("libc.so.6")), nullptr); // a bare name stays in the folder
    void* libc = SafeLoadLibrary(QStringLiteral("/lib/x86_64-linux-gnu/libc.so.6"));
    if (QFile::exists(QStringLiteral("/lib/x86_64-linux-gnu/libc.so.6"))) {
        EXPECT_NE(libc, nullptr);
    }
}
