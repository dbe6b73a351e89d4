#include "UninstallTestSupport.h"
#include "znIniFile.h"
#include "znRegIni.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace {

QByteArrayList SectionLines(TznIniFile& Ini, const QByteArray& Section)
{
    QByteArrayList lines;
    Ini.ReadSectionValues(Section, lines);
    return lines;
}

struct stat StatOf(const QString& Path)
{
    struct stat st {};
    ::stat(QFile::encodeName(Path).constData(), &st);
    return st;
}

} // namespace

class IniFile : public UninstallTest {};

TEST_F(IniFile, LogSyntax)
{
    const QByteArray log = "before=1\r\n"
                           "[ Sec ]\r\n"
                           ";x=1\r\n"
                           "  k  =  \"a \"b\" c\"\r\n"
                           "e=\"\"\r\n"
                           "q=\"\r\n"
                           "m=\"x'\r\n"
                           "=  \"v\"\r\n"
                           "[Sec] ; c\r\n"
                           "no equals\r\n"
                           "\t\x1A\r\n"
                           "[ SEC ]\r\n"
                           "z=\xE4\r\n";
    WriteBytes(QStringLiteral("install.log"), log);
    TznIniFile ini(Path(QStringLiteral("install.log")), true, true, true, true, true);
    QByteArrayList names;
    ini.ReadSections(names);
    EXPECT_EQ(names, QByteArrayList{" Sec "});
    EXPECT_EQ(SectionLines(ini, " sec "), (QByteArrayList{"k=a \"b\" c", "e=", "q=\"", "m=\"x'", "=  \"v\""}));
    EXPECT_EQ(ini.ReadString(" SEC ", "K", "-"), "a \"b\" c");
    EXPECT_EQ(ini.ReadString("Sec", "k", "-"), "-");
    EXPECT_FALSE(ini.Handle.IsOpen());

    // A bare LF or a lone CR ends a line as CR LF does.
    for (const char* end : {"\n", "\r"}) {
        QByteArray other = log;
        other.replace("\r\n", end);
        WriteBytes(QStringLiteral("other.log"), other);
        TznIniFile otherIni(Path(QStringLiteral("other.log")), true, true, true, true, true);
        otherIni.ReadSections(names);
        EXPECT_EQ(names, QByteArrayList{" Sec "});
        EXPECT_EQ(SectionLines(otherIni, " sec "), (QByteArrayList{"k=a \"b\" c", "e=", "q=\"", "m=\"x'", "=  \"v\""}));
    }
}

TEST_F(IniFile, OptionsOff)
{
    WriteBytes(QStringLiteral("o.ini"), "[S]\r\n;c=1\r\nplain\r\n a = 'b' \r\n[s]\r\nx=1\r\n[]\r\ny=2\r\n");
    TznIniFile ini(Path(QStringLiteral("o.ini")), true, false, false, false, false);
    EXPECT_EQ(SectionLines(ini, "S"), (QByteArrayList{";c=1", "plain", "a = 'b'"}));
    EXPECT_EQ(SectionLines(ini, ""), QByteArrayList{"y=2"});
    QByteArrayList keys;
    ini.ReadSection("S", keys);
    EXPECT_EQ(keys, (QByteArrayList{";c", "", "a "}));
}

TEST_F(IniFile, ReadsNumbersAndSectionValues)
{
    WriteBytes(QStringLiteral("n.ini"), "[N]\r\na=0x1F\r\nb=0XfF\r\nc=12ab\r\nd=-7\r\ne=0x\r\n");
    TznIniFile ini(Path(QStringLiteral("n.ini")), true, true, true, true, true);
    EXPECT_EQ(ini.ReadInteger("N", "a", -1), 31);
    EXPECT_EQ(ini.ReadInteger("N", "b", -1), 255);
    EXPECT_EQ(ini.ReadInteger("N", "c", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "d", -1), -7);
    EXPECT_EQ(ini.ReadInteger("N", "e", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "zz", 5), 5);
    EXPECT_TRUE(ini.ReadBool("N", "a", false));
    EXPECT_TRUE(ini.ReadBool("N", "zz", true));

    QByteArrayList values{"A=caller", "new=1", "new=2"};
    ini.ReadSectionValues("n", values);
    EXPECT_EQ(values, (QByteArrayList{"a=0x1F", "b=0XfF", "c=12ab", "d=-7", "e=0x", "new=1"}));
    QByteArrayList untouched{"x"};
    ini.ReadSectionValues("absent", untouched);
    EXPECT_EQ(untouched, QByteArrayList{"x"});
}

TEST_F(IniFile, KeyDeletionEditsOnlyThoseLines)
{
    const QString f = Path(QStringLiteral("other.ini"));
    WriteBytes(QStringLiteral("other.ini"), ";c\r\n[S]\r\nk = v\r\nd=1\r\n[T]\r\nx=1\r\n");
    ::chmod(QFile::encodeName(f).constData(), 0640);
    const struct stat before = StatOf(f);
    IniDeleteKey(f, "S", "d");
    FreeCachedIniFiles();
    EXPECT_EQ(ReadBytes(QStringLiteral("other.ini")), ";c\r\n[S]\r\nk = v\r\n[T]\r\nx=1\r\n");
    const struct stat after = StatOf(f);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
}

TEST_F(IniFile, KeyRemovalTakesItsOwnLineWithItsOwnLineEnd)
{
    const QByteArray upToChunkEnd = "k=" + QByteArray(97, 'v'); // its CR ends one read, its LF begins the next
    const struct {
        QByteArray Before, After;
    } cases[] = {
        {"[S]\nk=1\nb=2\n", "[S]\nb=2\n"},
        {"[S]\r\nk=1\r\nb=2\r\n", "[S]\r\nb=2\r\n"},
        {"[S]\r\na=1\r\nk=1\nb=2\r\n", "[S]\r\na=1\r\nb=2\r\n"},
        {"[S]\r\na=1\nk=1\r\nb=2\n", "[S]\r\na=1\nb=2\n"},
        {"[S]\rk=1\rb=2\r", "[S]\rb=2\r"},
        {"[S]\r\nb=2\r\nk=1", "[S]\r\nb=2\r\n"},
        {"[S]\nb=2\nk=1", "[S]\nb=2\n"},
        {"[S]\nk=1", "[S]\n"},
        {"[S]\n\n  k = \"v\" \t\n\n;c\nb=2\n", "[S]\n\n\n;c\nb=2\n"},
        {"[T]\nk=1\n[S]\r\nK=1\r\nk=2\r\n", "[T]\nk=1\n[S]\r\nk=2\r\n"},
        {"[S]\r\n" + upToChunkEnd + "\r\nb=2\r\n", "[S]\r\nb=2\r\n"},
        {"[S]\r\n" + upToChunkEnd + "\rb=2\r\n", "[S]\r\nb=2\r\n"},
    };
    const QString f = Path(QStringLiteral("e.ini"));
    for (const auto& c : cases) {
        WriteBytes(QStringLiteral("e.ini"), c.Before);
        IniDeleteKey(f, "s", "K");
        FreeCachedIniFiles();
        EXPECT_EQ(ReadBytes(QStringLiteral("e.ini")), c.After) << c.Before.toHex().constData();
    }
}

TEST_F(IniFile, KeyDeletionsKeepWhatTheParserDoesNotSee)
{
    const QByteArray text =
        "top=1\r\n[S]\r\n; note\r\n\r\n a = \"1\" \r\nplain\r\nb=2\r\n\n\nc=3\r\n[s]\r\nb=9\r\n[T]\r\nt=1";
    WriteBytes(QStringLiteral("x.ini"), text);
    TznIniFile ini(Path(QStringLiteral("x.ini")), false, true, true, true, true);
    ini.DeleteKey("S", "b");
    ini.WriteString("", "", ""); // a flush between deletions
    EXPECT_EQ(ReadBytes(QStringLiteral("x.ini")),
              "top=1\r\n[S]\r\n; note\r\n\r\n a = \"1\" \r\nplain\r\n\n\nc=3\r\n[s]\r\nb=9\r\n[T]\r\nt=1");
    ini.DeleteKey("S", "A");
    ini.DeleteKey("T", "t");
    ini.DeleteKey("S", "c");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(QStringLiteral("x.ini")), "top=1\r\n[S]\r\n; note\r\n\r\nplain\r\n\n\n[s]\r\nb=9\r\n[T]\r\n");
}

TEST_F(IniFile, OtherChangesRewriteTheFile)
{
    WriteBytes(QStringLiteral("w.ini"), ";c\r\n[S]\r\nk = v\r\nd=1\r\n[T]\r\nx=1\r\n");
    {
        TznIniFile ini(Path(QStringLiteral("w.ini")), false, true, true, true, true);
        ini.WriteString("S", "n", "1");
        ini.WriteString("T", "x", "1"); // identical: no change of its own
    }
    EXPECT_EQ(ReadBytes(QStringLiteral("w.ini")), "[S]\r\nk=v\r\nd=1\r\nn=1\r\n\r\n[T]\r\nx=1\r\n\r\n");

    TznIniFile ini(Path(QStringLiteral("w.ini")), false, true, true, true, true);
    ini.WriteString("T", "x", "1");
    EXPECT_FALSE(ini.Modified);
    ini.WriteString("T", "X", "1");
    EXPECT_TRUE(ini.Modified);
    ini.WriteString("S", "", "");
    ini.WriteInteger("U", "i", -3);
    ini.WriteBool("U", "b", true);
    ini.DeleteKey("T", "X");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(QStringLiteral("w.ini")), "[U]\r\ni=-3\r\nb=1\r\n\r\n");
}

TEST_F(IniFile, AbsentSectionLeavesTheFileAlone)
{
    const QString f = Path(QStringLiteral("a.ini"));
    WriteBytes(QStringLiteral("a.ini"), "[S]\r\nk=v\r\n");
    const QDateTime mtime = QDateTime::currentDateTime().addDays(-3);
    QFile file(f);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(mtime, QFileDevice::FileModificationTime);
    file.close();
    IniDeleteKey(f, "None", "k");
    IniDeleteKey(f, "S", "missing");
    FreeCachedIniFiles();
    EXPECT_EQ(ReadBytes(QStringLiteral("a.ini")), "[S]\r\nk=v\r\n");
    EXPECT_EQ(QFileInfo(f).lastModified(), mtime);

    IniDeleteKey(Path(QStringLiteral("new/none.ini")), "S", "k");
    FreeCachedIniFiles();
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("new"))));
}

TEST_F(IniFile, BareNameLivesInTheConfigFolder)
{
    WriteBytes(QStringLiteral("config/app.ini"), "[S]\r\nk=v\r\nd=1\r\n");
    WriteBytes(QStringLiteral("app.ini"), "[S]\r\nd=1\r\n");
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    IniDeleteKey(QStringLiteral("app.ini"), "S", "d");
    FreeCachedIniFiles();
    QDir::setCurrent(old);
    EXPECT_EQ(ReadBytes(QStringLiteral("config/app.ini")), "[S]\r\nk=v\r\n");
    EXPECT_EQ(ReadBytes(QStringLiteral("app.ini")), "[S]\r\nd=1\r\n");

    TznIniFile fresh(QStringLiteral("made.ini"), false, true, true, true, true);
    fresh.WriteString("S", "k", "v");
    fresh.UpdateFile();
    EXPECT_EQ(ReadBytes(QStringLiteral("config/made.ini")), "[S]\r\nk=v\r\n\r\n");
}

TEST_F(IniFile, Cache)
{
    const QString f = Path(QStringLiteral("A.ini"));
    WriteBytes(QStringLiteral("A.ini"), "[S]\r\nk=1\r\n");
    WriteBytes(QStringLiteral("a.ini"), "[S]\r\nk=lower\r\n");
    TznIniFile* read = GetCachedIniFile(f, true);
    EXPECT_EQ(GetCachedIniFile(f, true), read);
    EXPECT_EQ(IniReadString(f, "S", "k", ""), "1");
    EXPECT_EQ(IniReadString(Path(QStringLiteral("a.ini")), "S", "k", ""), "lower");

    WriteBytes(QStringLiteral("A.ini"), "[S]\r\nk=2\r\n");
    EXPECT_EQ(IniReadString(f, "S", "k", ""), "1"); // read from the object
    TznIniFile* write = GetCachedIniFile(f, false);
    EXPECT_FALSE(write->ReadOnly);
    EXPECT_EQ(IniReadString(f, "S", "k", ""), "2"); // the writable one loaded again
    EXPECT_EQ(GetCachedIniFile(f, true), write);

    UncacheIniFile(f);
    WriteBytes(QStringLiteral("A.ini"), "[S]\r\nk=3\r\n");
    EXPECT_EQ(IniReadString(f, "S", "k", ""), "3");
    QByteArrayList lines{"stale"};
    lines.clear();
    IniReadSectionValues(f, "S", lines);
    EXPECT_EQ(lines, QByteArrayList{"k=3"});
}

TEST_F(IniFile, UnopenableEntryRaisesAndCachesNothing)
{
    const QString folder = Path(QStringLiteral("folder.ini"));
    QDir().mkpath(folder);
    try {
        IniDeleteKey(folder, "S", "k");
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Cannot open file ") + folder);
    }
    QDir().rmdir(folder);
    WriteBytes(QStringLiteral("folder.ini"), "[S]\r\nk=now\r\n");
    EXPECT_EQ(IniReadString(folder, "S", "k", ""), "now");
}
