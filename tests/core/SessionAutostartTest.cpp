#include "core/platform/linux/LinuxProgramStarter.h"
#include "core/platform/linux/LinuxSessionAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

namespace {
// The Exec line's words as a desktop reads them: the value's string escapes, the field codes, then the
// quoting.
QStringList ExecWords(const QByteArray& entry)
{
    QString value;
    const QString line = QString::fromUtf8(entry).split('\n').filter(QRegularExpression("^Exec=")).value(0).mid(5);
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            value += line[i];
            continue;
        }
        const QChar n = line[++i];
        value += n == 's' ? QChar(' ') : n == 'n' ? QChar('\n') : n == 't' ? QChar('\t') : n == 'r' ? QChar('\r') : n;
    }
    value.replace("%%", "%");
    QStringList words;
    QString word;
    bool quoted = false, inWord = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (quoted && c == '\\' && i + 1 < value.size()) {
            word += value[++i];
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord) words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words << word;
    return words;
}
} // namespace

TEST(LinuxSessionAutostart, EntryCarriesTheDataFolder)
{
    // Blank, quote, dollar, backslash and percent: each quoted and escaped for the Exec key.
    const QString folder = QString::fromUtf8("/home/anna/Meine \"Daten\" $HOME\\ä 100%");
    EXPECT_EQ(
        LinuxSessionAutostart::DesktopEntry("/opt/my apps/zumbrel", folder).toStdString(),
        std::string("[Desktop Entry]\nType=Application\nName=Zumbrel 3\n") +
            R"(Exec=env "ZUMBREL_FOLDER=/home/anna/Meine \\"Daten\\" \\$HOME\\\\ä 100%%" "/opt/my apps/zumbrel")" +
            "\n");
    const struct {
        QString program, folder;
        QStringList words;
    } rows[] = {
        {"/opt/my apps/zumbrel", folder, {"env", "ZUMBREL_FOLDER=" + folder, "/opt/my apps/zumbrel"}},
        {"/a\"b$c`d\\e%f", "/x", {"env", "ZUMBREL_FOLDER=/x", "/a\"b$c`d\\e%f"}},
        {"/usr/bin/zumbrel", "", {"/usr/bin/zumbrel"}}, // the default folder: the entry as it always was
    };
    for (const auto& r : rows)
        EXPECT_EQ(ExecWords(LinuxSessionAutostart::DesktopEntry(r.program, r.folder)), r.words)
            << r.program.toStdString();
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
    ASSERT_TRUE(autostart.enable("/usr/bin/zumbrel", QString()));
    EXPECT_TRUE(QFile::exists(dir.path() + "/autostart/zumbrel.desktop"));
    EXPECT_TRUE(autostart.disable());
    EXPECT_FALSE(QFile::exists(dir.path() + "/autostart/zumbrel.desktop"));
    EXPECT_TRUE(autostart.disable());
    // an entry kept elsewhere (a dotfiles folder) is written where its link leads, and the link stays
    const QString entry = dir.path() + "/autostart/zumbrel.desktop", kept = dir.path() + "/dotfiles.desktop";
    ASSERT_TRUE(QFile::link(kept, entry));
    ASSERT_TRUE(autostart.enable("/usr/bin/zumbrel", QString()));
    EXPECT_TRUE(QFileInfo(entry).isSymLink());
    QFile keptFile(kept);
    ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(keptFile.readAll(), LinuxSessionAutostart::DesktopEntry("/usr/bin/zumbrel", QString()));
    ASSERT_TRUE(QFile::remove(entry));
    // a folder in the entry's place cannot be removed
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/autostart/zumbrel.desktop"));
    EXPECT_FALSE(autostart.disable());
    EXPECT_FALSE(autostart.enable("/usr/bin/zumbrel", QString()));
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
