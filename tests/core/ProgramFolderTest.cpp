#include "core/ProgramFolder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {
int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QStringList tree(const QString& root)
{
    QStringList out;
    QDir dir(root);
    for (const QFileInfo& f : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        out << f.fileName() + (f.isDir() ? "/" : "");
        if (f.isDir())
            for (const QString& below : tree(f.filePath())) out << f.fileName() + "/" + below;
    }
    return out;
}
} // namespace

class ProgramFolderTest : public ProgramTest {
protected:
    void put(const QString& relative, const QByteArray& bytes = "x", bool executable = false)
    {
        writeFile(relative, bytes);
        if (executable) QFile::setPermissions(path(relative), QFile::permissions(path(relative)) | QFile::ExeOwner);
    }
};

TEST_F(ProgramFolderTest, DataFolderComesFromTheEnvironmentNeverTheExecutable)
{
    const struct {
        QStringList vars;
        QString folder;
    } cases[] = {
        {{"HOME=/home/anna"}, "/home/anna/.local/share/Zumbrel"},
        {{"HOME=/home/anna", "XDG_DATA_HOME=/daten"}, "/daten/Zumbrel"},
        {{"HOME=/home/anna", "XDG_DATA_HOME=relativ"}, "/home/anna/.local/share/Zumbrel"}, // invalid, ignored
        {{"HOME=/home/anna", "XDG_DATA_HOME=/daten", "ZUMBREL_FOLDER=/mnt/z/"}, "/mnt/z"},
        {{"HOME=/home/anna", "ZUMBREL_FOLDER="}, "/home/anna/.local/share/Zumbrel"},
    };
    for (const auto& c : cases) {
        QProcessEnvironment env;
        for (const QString& v : c.vars) env.insert(v.section('=', 0, 0), v.section('=', 1));
        EXPECT_EQ(DataFolderFor(env), c.folder) << c.vars.join(' ').toStdString();
    }
}

TEST_F(ProgramFolderTest, InstallationBesideTheExecutableElseInShare)
{
    QDir().mkpath(path("usr/bin"));
    QDir().mkpath(path("usr/share/zumbrel"));
    EXPECT_EQ(FindInstallationFolder(path("usr/bin")), QDir::cleanPath(path("usr/share/zumbrel")));
    put("usr/bin/servers.DAT");
    EXPECT_EQ(FindInstallationFolder(path("usr/bin")), path("usr/bin"));
    QDir().mkpath(path("build/bin"));
    EXPECT_EQ(FindInstallationFolder(path("build/bin")), path("build/bin")); // nothing installed anywhere
}

TEST_F(ProgramFolderTest, NewFolderIsPrivateAndTakesOnlyMissingTariffsAndSounds)
{
    put("inst/zumbrel", "ELF", true);
    put("inst/Servers.dat", "http://s\r\n");
    put("inst/Revision.dat", "3.3\r\n");
    put("inst/Uninstall", "ELF", true);
    put("inst/install.log");
    put("inst/Tarife/A - B.tel", "neu");
    put("inst/Tarife/C - D.atl", "neu");
    put("inst/Tarife/skript.sh", "#!", true);
    put("inst/Sounds/Standard.wav", "RIFF");
    put("inst/Andere/x.txt");
    put("home/Zumbrel/tarife/a - b.TEL", "eigener");
    QDir().mkpath(path("home/Zumbrel/Sounds"));
    ASSERT_TRUE(QFile::link(path("home/draussen.wav"), path("home/Zumbrel/Sounds/standard.WAV"))); // leads nowhere

    const mode_t old = ::umask(022);
    EXPECT_TRUE(PrepareProgramFolder(path("home/neu/Zumbrel"), path("inst")));
    EXPECT_TRUE(PrepareProgramFolder(path("home/Zumbrel"), path("inst")));
    ::umask(old);

    EXPECT_EQ(modeOf(path("home/neu/Zumbrel")), 0700);
    EXPECT_EQ(tree(path("home/neu/Zumbrel")),
              QStringList({"Sounds/", "Sounds/Standard.wav", "Tarife/", "Tarife/A - B.tel", "Tarife/C - D.atl"}));
    EXPECT_EQ(modeOf(path("home/Zumbrel")), 0755); // an existing folder keeps its mode
    EXPECT_EQ(tree(path("home/Zumbrel")), QStringList({"Sounds/", "tarife/", "tarife/C - D.atl", "tarife/a - b.TEL"}));
    EXPECT_EQ(readFile("home/Zumbrel/tarife/a - b.TEL"), "eigener"); // never overwritten
    EXPECT_TRUE(QFileInfo(path("home/Zumbrel/Sounds/standard.WAV")).isSymLink()); // present: not copied through
    EXPECT_FALSE(exists("home/draussen.wav"));
    EXPECT_EQ(modeOf(path("home/Zumbrel/tarife/C - D.atl")) & 0600, 0600); // the user may edit a copy
}
