#include "core/platform/linux/LinuxProgramStarter.h"
#include "core/platform/linux/LinuxSessionAutostart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(LinuxSessionAutostart, EntryQuotesAndEscapesTheProgram)
{
    EXPECT_EQ(LinuxSessionAutostart::DesktopEntry("/opt/my apps/zumbrel"),
              "[Desktop Entry]\nType=Application\nName=Zumbrel 3\nExec=\"/opt/my apps/zumbrel\"\n");
    const struct {
        const char* program;
        const char* exec;
    } cases[] = {
        {"/a/b", "\"/a/b\""},
        {"/a\"b", "\"/a\\\\\"b\""},
        {"/a$b`c", "\"/a\\\\$b\\\\`c\""},
        {"/a\\b", "\"/a\\\\\\\\b\""},
        {"/100%/x", "\"/100%%/x\""},
        {"/ä/ö", "\"/ä/ö\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinuxSessionAutostart::ExecWord(QString::fromUtf8(c.program)), QString::fromUtf8(c.exec)) << c.program;
}

TEST(LinuxSessionAutostart, WritesAndRemovesTheEntry)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(LinuxSessionAutostart::DefaultFolder(), dir.path() + "/autostart");
    qputenv("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(LinuxSessionAutostart::DefaultFolder(), QDir::homePath() + "/.config/autostart");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(LinuxSessionAutostart::DefaultFolder(), QDir::homePath() + "/.config/autostart");
    if (!saved.isEmpty()) qputenv("XDG_CONFIG_HOME", saved);

    LinuxSessionAutostart autostart(dir.path() + "/autostart");
    ASSERT_TRUE(autostart.enable("/usr/bin/zumbrel"));
    EXPECT_TRUE(QFile::exists(dir.path() + "/autostart/zumbrel.desktop"));
    EXPECT_TRUE(autostart.disable());
    EXPECT_FALSE(QFile::exists(dir.path() + "/autostart/zumbrel.desktop"));
    EXPECT_TRUE(autostart.disable());
    // a folder in the entry's place cannot be removed
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/autostart/zumbrel.desktop"));
    EXPECT_FALSE(autostart.disable());
    EXPECT_FALSE(autostart.enable("/usr/bin/zumbrel"));
}

TEST(LinuxProgramStarter, ExistingFileIsOneProgramOtherLinesSplit)
{
    QTemporaryDir dir;
    const QString tool = dir.path() + "/my tools/run it";
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/my tools"));
    QFile f(tool);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(LinuxProgramStarter::SplitCommand(tool), QStringList({tool}));
    EXPECT_EQ(LinuxProgramStarter::SplitCommand("prog arg"), QStringList({"prog", "arg"}));
    EXPECT_EQ(LinuxProgramStarter::SplitCommand("\"" + tool + "\" -x"), QStringList({tool, "-x"}));
    // a folder is no program
    EXPECT_EQ(LinuxProgramStarter::SplitCommand(dir.path() + "/my tools"),
              QStringList({dir.path() + "/my", "tools"}));
    EXPECT_TRUE(LinuxProgramStarter::SplitCommand("  ").isEmpty());
}
