#include "UninstallTestSupport.h"
#include "znFileUtils.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

class FileUtils : public UninstallTest {};

TEST_F(FileUtils, ReadLnEndsLinesAtCrLfLfOrCr)
{
    const QByteArray longLine(250, 'x');
    const QByteArray upToChunkEnd(99, 'y'); // its CR is the last byte of a 100-byte read, its LF the next
    const struct {
        QByteArray Bytes;
        QByteArrayList Lines;
    } cases[] = {
        {longLine + "\r\nnext\r\n", {longLine, "next"}},
        {"lf\nonly\n\n", {"lf", "only", ""}},
        {"cr\ronly\r\r", {"cr", "only", ""}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\r\nb\n\rc", {"a", "", "b", "", "c"}},
        {upToChunkEnd + "\r\nz\r\n", {upToChunkEnd, "z"}},
        {upToChunkEnd + "\rz", {upToChunkEnd, "z"}},
        {upToChunkEnd + "\r", {upToChunkEnd}},
        {QByteArray("n\0l\r\n\0", 6), {QByteArray("n\0l", 3), QByteArray("\0", 1)}},
    };
    for (const auto& c : cases) {
        WriteBytes(QStringLiteral("l.txt"), c.Bytes);
        TFileHandle h = FileOpenEx(Path(QStringLiteral("l.txt")), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
        ASSERT_TRUE(h.IsOpen());
        QByteArray line;
        QByteArrayList lines;
        while (!FileEofEx(h)) {
            FileReadLn(h, line);
            lines << line;
        }
        EXPECT_EQ(lines, c.Lines) << c.Bytes.toHex().constData();
        EXPECT_EQ(FilePosition(h), c.Bytes.size());
        FileReadLn(h, line);
        EXPECT_EQ(line, "");
        FileCloseEx(h);
        EXPECT_FALSE(h.IsOpen());
    }
}

TEST_F(FileUtils, OpenRefusesAllButOrdinaryFilesAndWritesLines)
{
    // Pipes are the worker test's, where a hang has a time limit.
    QDir().mkpath(Path(QStringLiteral("d")));
    WriteBytes(QStringLiteral("plain"), "x");
    ::symlink("plain", QFile::encodeName(Path(QStringLiteral("link"))).constData());
    const struct {
        QString Name;
        bool Opens;
    } cases[] = {{Path(QStringLiteral("d")), false},
                 {QStringLiteral("/dev/zero"), false},
                 {QStringLiteral("/dev/null"), false},
                 {Path(QStringLiteral("link")), true},
                 {Path(QStringLiteral("plain")), true}};
    for (const auto& c : cases) {
        for (quint32 access : {quint32(GENERIC_READ), quint32(GENERIC_WRITE), quint32(GENERIC_READ | GENERIC_WRITE)}) {
            TFileHandle h = FileOpenEx(c.Name, access, 0, OPEN_ALWAYS, 0);
            EXPECT_EQ(h.IsOpen(), c.Opens) << qPrintable(c.Name) << ' ' << access;
            FileCloseEx(h);
        }
    }
    EXPECT_EQ(ReadBytes(QStringLiteral("plain")), "x");
    TFileHandle h = FileOpenEx(Path(QStringLiteral("w.txt")), GENERIC_WRITE, 0, OPEN_ALWAYS, 0);
    ASSERT_TRUE(h.IsOpen());
    FileWriteLn(h, "a");
    FileWriteLn(h, "");
    EXPECT_EQ(FilePosition(h), 5);
    FileCloseEx(h);
    EXPECT_EQ(ReadBytes(QStringLiteral("w.txt")), "a\r\n\r\n");
}

TEST_F(FileUtils, UniqueNamesFromTheClock)
{
    QDateTime t(QDate(2004, 3, 1), QTime(23, 59, 59, 990));
    auto clock = [&t] { return t; };
    EXPECT_EQ(GetUniqueFileName(dir.path(), QString(), QStringLiteral(".bat"), true, clock), "1FI87LFV.bat");
    EXPECT_EQ(GetUniqueFileName(dir.path(), QStringLiteral("INSTALL"), QStringLiteral(".bat"), true, clock),
              "INST7LFV.bat");
    EXPECT_EQ(GetUniqueFileName(dir.path(), QStringLiteral("INSTALL"), QStringLiteral(".bat"), false, clock),
              "INSTALL1FI87LFV.bat");
    // A taken name waits for the clock to move on, here into the next day.
    WriteBytes(QStringLiteral("1FI87LFV.bat"), "");
    int calls = 0;
    auto moving = [&] { return t.addMSecs(10 * calls++); };
    EXPECT_EQ(GetUniqueFileName(dir.path(), QString(), QStringLiteral(".bat"), true, moving), "1FJ00000.bat");
}

TEST_F(FileUtils, PathsAndFolders)
{
    EXPECT_EQ(AddBackslash(QStringLiteral("/a")), "/a/");
    EXPECT_EQ(AddBackslash(QStringLiteral("/a/")), "/a/");
    EXPECT_EQ(AddBackslash(QString()), "");
    EXPECT_EQ(RemoveBackslash(QStringLiteral("/")), "/");
    EXPECT_EQ(RemoveBackslash(QStringLiteral("/a/")), "/a");
    EXPECT_EQ(RemoveBackslash(QStringLiteral("a")), "a");
    EXPECT_EQ(GetShortName(QStringLiteral("/x/Long Name.txt")), "/x/Long Name.txt");

    ForceDirs(Path(QStringLiteral("n1/n2/n3/")));
    EXPECT_TRUE(DirExists(Path(QStringLiteral("n1/n2/n3"))));
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ForceDirs(QStringLiteral("r1/r2"));
    EXPECT_TRUE(DirExists(Path(QStringLiteral("r1/r2"))));
    QDir::setCurrent(old);
    EXPECT_FALSE(DirExists(Path(QStringLiteral("missing"))));
}

TEST_F(FileUtils, DeleteFileForceLeavesTheLinkTarget)
{
    WriteBytes(QStringLiteral("target.txt"), "keep");
    ::chmod(QFile::encodeName(Path(QStringLiteral("target.txt"))).constData(), 0444);
    ::symlink("target.txt", QFile::encodeName(Path(QStringLiteral("link"))).constData());
    EXPECT_TRUE(DeleteFileForce(Path(QStringLiteral("link"))));
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(Path(QStringLiteral("target.txt"))).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_TRUE(DeleteFileForce(Path(QStringLiteral("target.txt"))));
    EXPECT_FALSE(DeleteFileForce(Path(QStringLiteral("target.txt"))));
}
