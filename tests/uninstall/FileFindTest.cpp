#include "UninstallTestSupport.h"
#include "znFileFind.h"
#include "znFileUtils.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList FindAll(const QString& Mask, quint32 Include, quint32 Exclude, quint32* First = nullptr)
{
    TSearchRecEx rec;
    QStringList found;
    quint32 result = FindFirstEx(Mask, Include, Exclude, rec);
    if (First) *First = result;
    while (result == 0) {
        found << rec.Name;
        result = FindNextEx(rec);
    }
    FindCloseEx(rec);
    found.sort();
    return found;
}

} // namespace

class FileFind : public UninstallTest {};

TEST_F(FileFind, MasksAndAttributes)
{
    for (const char* name : {"README", "a.b", ".x", "Report [1].txt", "Report 1.txt", "ro.txt"})
        WriteBytes(QStringLiteral("f/") + QLatin1String(name), "1");
    QDir().mkpath(Path(QStringLiteral("f/sub.d")));
    ::symlink("sub.d", QFile::encodeName(Path(QStringLiteral("f/link"))).constData());
    ::chmod(QFile::encodeName(Path(QStringLiteral("f/ro.txt"))).constData(), 0444);
    const QString f = Path(QStringLiteral("f/"));

    const QStringList files{".x", "README", "Report 1.txt", "Report [1].txt", "a.b", "link", "ro.txt"};
    EXPECT_EQ(FindAll(f + "*.*", 0, faDirectory | faVolumeID), files);
    EXPECT_EQ(FindAll(f + "*", faAnyFile, faDirectory), files);
    EXPECT_EQ(FindAll(f + "*", faDirectory, 0), QStringList{"sub.d"});
    EXPECT_EQ(FindAll(f + "*", faHidden, 0), QStringList{".x"});
    EXPECT_EQ(FindAll(f + "*", faReadOnly, 0), QStringList{"ro.txt"});
    EXPECT_EQ(FindAll(f + "*", faArchive | faSysFile, 0), QStringList{});
    EXPECT_EQ(FindAll(f + "Report [1].txt", 0, 24), QStringList{"Report [1].txt"});
    EXPECT_EQ(FindAll(f + "Report ?.txt", 0, 24), (QStringList{"Report 1.txt"}));
    EXPECT_EQ(FindAll(f + "readme", 0, 24), QStringList{}); // names match with their case
    EXPECT_EQ(FindAll(f + "*.B", 0, 24), QStringList{});
}

TEST_F(FileFind, ResultCodes)
{
    QDir().mkpath(Path(QStringLiteral("empty")));
    WriteBytes(QStringLiteral("one/x.txt"), "1");
    const struct {
        QString Mask;
        quint32 Include, Exclude, Result;
    } cases[] = {
        {Path("empty/*"), 0, 24, ERROR_NO_MORE_FILES},
        {Path("empty/*.txt"), 0, 24, ERROR_FILE_NOT_FOUND},
        {Path("missing/*"), 0, 24, ERROR_PATH_NOT_FOUND},
        {Path("missing/x.txt"), 0, 24, ERROR_PATH_NOT_FOUND},
        {Path("one/y.txt"), 0, 24, ERROR_FILE_NOT_FOUND},
        {Path("one/x.txt/*"), 0, 24, ERROR_PATH_NOT_FOUND},
        {Path("one/*.txt"), faDirectory, 0, ERROR_NO_MORE_FILES},
        {Path("one/x.txt"), 0, 0, 0},
    };
    for (const auto& c : cases) {
        quint32 first = 99;
        FindAll(c.Mask, c.Include, c.Exclude, &first);
        EXPECT_EQ(first, c.Result) << c.Mask.toStdString();
    }
}

TEST_F(FileFind, FullNameReachesNamesTheCodePageLacks)
{
    WriteBytes(QStringLiteral("\u0142/\u00FC.txt"), "12345");
    WriteBytes(QStringLiteral("\u0142/ab.txt"), "1");
    TSearchRecEx rec;
    ASSERT_EQ(FindFirstEx(Path(QStringLiteral("\u0142/?.txt")), 0, 24, rec), 0u);
    EXPECT_EQ(rec.Name, QStringLiteral("\u00FC.txt"));
    EXPECT_EQ(rec.Path, Path(QStringLiteral("\u0142/")));
    EXPECT_EQ(rec.Size, 5u);
    EXPECT_NE(rec.Time, 0u);
    EXPECT_EQ(FindNextEx(rec), ERROR_NO_MORE_FILES);
    FindCloseEx(rec);
    FindCloseEx(rec);
    EXPECT_TRUE(DeleteFileForce(rec.FullName));
    EXPECT_FALSE(QFile::exists(rec.FullName));
}

TEST_F(FileFind, BareMaskSearchesTheCurrentFolder)
{
    WriteBytes(QStringLiteral("cwd/a.tmp"), "");
    const QString old = QDir::currentPath();
    QDir::setCurrent(Path(QStringLiteral("cwd")));
    TSearchRecEx rec;
    EXPECT_EQ(FindFirstEx(QStringLiteral("*.tmp"), 0, 24, rec), 0u);
    EXPECT_EQ(rec.FullName, QStringLiteral("a.tmp"));
    FindCloseEx(rec);
    QDir::setCurrent(old);
}
