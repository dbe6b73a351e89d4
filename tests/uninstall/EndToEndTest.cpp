// The program as a process on an installation made from a log by a builder of the test's own.
#include "UninstallTestSupport.h"

#include "RegistryStore.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const char* const Fixture = R"([PreRunApp]
1=pre.sh,,,0,,1
[SharedFiles]
%APP%/shared3.dll=1
%APP%/shared1.dll=1
[Shortcuts]
%ROOT%/data/applications/Vesko.lnk=1
[AddIni]
vesko.ini,Main,Path=1
vesko.ini,Main,Size=1
[RegFonts]
Vesko Sans (TrueType)=%ROOT%/data/fonts/VeskoSans.ttf
[AddReg]
HKCU\Software\Vesko\'a\b'=1
[CreateKeys]
HKLM\Software\Vesko\Sub=1
HKLM\Software\Vesko=1
[RegServers]
srv.dll=1
[CopyFiles]
pre.sh=1
%APP%/a.txt=1
data/*.dat=1
a.hlp=1
%APP%/shared3.dll=1
%APP%/shared1.dll=1
srv.dll=1
%ROOT%/data/fonts/VeskoSans.ttf=1
[CreateDirs]
%APP%/data/nested=1
%APP%/data=1
%APP%/data/nested/deeper=1
[RunApp]
1=/bin/true,,,,"Finishing",1
)";

// What the installer would have made for each section, read with nothing of the uninstaller's parser.
QMap<QByteArray, QByteArrayList> Sections(const QByteArray& Log)
{
    QMap<QByteArray, QByteArrayList> sections;
    QByteArray current;
    for (const QByteArray& line : Log.split('\n')) {
        const QByteArray text = line.trimmed();
        if (text.startsWith('['))
            current = text.mid(1, text.size() - 2);
        else if (!text.isEmpty())
            sections[current] << text;
    }
    return sections;
}

QByteArray Before(const QByteArray& Line, char C)
{
    return Line.left(Line.lastIndexOf(C));
}

// Type, mode, bytes, modification time and link target of everything below a folder. A folder's own
// time is left out: removing an entry changes it.
QMap<QString, QString> Snapshot(const QString& Root)
{
    QMap<QString, QString> entries;
    QDirIterator it(Root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString entry = QString::number(int(info.permissions()), 16);
        if (info.isSymLink()) {
            entry += QStringLiteral("|link|") + info.symLinkTarget();
        } else if (info.isDir()) {
            entry += QStringLiteral("|dir");
        } else {
            QFile file(info.filePath());
            file.open(QIODevice::ReadOnly);
            entry += QStringLiteral("|file|") + QString::fromLatin1(file.readAll().toHex()) + u'|' +
                     QString::number(info.lastModified().toMSecsSinceEpoch());
        }
        entries.insert(info.filePath().mid(Root.size() + 1), entry);
    }
    return entries;
}

void Write(const QString& Path, const QByteArray& Bytes)
{
    QDir().mkpath(QFileInfo(Path).path());
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
}

QByteArray Hex(const QByteArray& S)
{
    return S.toHex().toUpper();
}

} // namespace

TEST(EndToEnd, RemovesExactlyWhatTheLogLists)
{
    QTemporaryDir rootDir, cacheDir;
    ASSERT_TRUE(rootDir.isValid() && cacheDir.isValid());
    const QString root = rootDir.path();
    const QString app = root + QStringLiteral("/app");
    QByteArray log = QByteArray(Fixture).replace("%APP%", app.toUtf8()).replace("%ROOT%", root.toUtf8());
    log.replace("\n", "\r\n");
    const auto sections = Sections(log);

    // The installation, section by section, with a foreign item beside each logged one.
    Write(app + QStringLiteral("/install.log"), log);
    Write(app + QStringLiteral("/Uninstall.bmp"), "BM");
    ASSERT_TRUE(QFile::copy(QStringLiteral(SCRIPTED_UNINSTALL), app + QStringLiteral("/Uninstall")));
    QFile::setPermissions(app + QStringLiteral("/Uninstall"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QByteArray& line : sections["CopyFiles"]) {
        const QString name = QString::fromUtf8(Before(line, '='));
        const QString path = name.startsWith(u'/') ? name : app + u'/' + name;
        if (name.endsWith(QLatin1String("*.dat"))) {
            Write(app + QStringLiteral("/data/x.dat"), "x");
            Write(app + QStringLiteral("/data/y.dat"), "y");
            Write(app + QStringLiteral("/data/readme.txt"), "foreign");
            Write(root + QStringLiteral("/target.dat"), "the link's target");
            QFile::link(root + QStringLiteral("/target.dat"), app + QStringLiteral("/data/link.dat"));
        } else if (name == QLatin1String("pre.sh")) {
            Write(path, "#!/bin/sh\nexit 0\n");
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        } else {
            Write(path, name.toUtf8());
            Write(QFileInfo(path).path() + QStringLiteral("/foreign-") + QFileInfo(path).fileName(), "foreign");
        }
    }
    Write(app + QStringLiteral("/a.gid"), "gid");
    Write(app + QStringLiteral("/a.fts"), "fts");
    Write(app + QStringLiteral("/b.gid"), "foreign");
    for (const QByteArray& line : sections["CreateDirs"])
        QDir().mkpath(QString::fromUtf8(Before(line, '=')));
    for (const QByteArray& line : sections["Shortcuts"]) {
        const QString lnk = QString::fromUtf8(Before(line, '='));
        Write(lnk.chopped(4) + QStringLiteral(".desktop"), "[Desktop Entry]\n");
        Write(QFileInfo(lnk).path() + QStringLiteral("/Other.desktop"), "[Desktop Entry]\n");
    }
    const QByteArray ini = "; settings\r\n[Main]\r\nPath=x\r\nKeep=y\r\nSize=3\r\n[Other]\r\nPath=z\r\n";
    Write(root + QStringLiteral("/config/vesko.ini"), ini);
    const QByteArray shared = "[HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]\r\n";
    const QByteArray fonts = "[HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n";
    const QByteArray font = (root + QStringLiteral("/data/fonts/VeskoSans.ttf")).toUtf8();
    Write(root + QStringLiteral("/data/Uninstall/Registry.txt"),
          shared + "4:03000000:" + app.toUtf8() + "/shared3.dll\r\n4:01000000:" + app.toUtf8() +
              "/shared1.dll\r\n4:01000000:" + root.toUtf8() + "/foreign.dll\r\n" + fonts + "1:" + Hex(font) +
              "00:Vesko Sans (TrueType)\r\n1:00:Foreign Font\r\n[HKLM\\Software\\Vesko]\r\n1:7800:Path\r\n"
              "[HKLM\\Software\\Vesko\\Sub]\r\n[HKLM\\Software\\Foreign]\r\n[HKCU\\Software\\Vesko]\r\n"
              "1:00:a\\b\r\n1:00:Other\r\n");
    const QMap<QString, QString> before = Snapshot(root);

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheDir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), cacheDir.path());
    env.insert(QStringLiteral("HOME"), cacheDir.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(cacheDir.path());
    process.start(app + QStringLiteral("/Uninstall"), {});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(output.split(u'\n', Qt::SkipEmptyParts),
              (QStringList{"box|Vesko Uninstaller|Are you sure you want to completely remove the selected application "
                           "and all of its components?",
                           "shared|" + app + "/shared1.dll", "line|Checking shared files... ok",
                           "line|Removing shortcuts... ok", "line|Removing ini entries... ok",
                           "line|Unregister fonts... ok", "line|Removing registry values... ok",
                           "line|Removing registry keys... ok", "line|Unregister OLE servers... ok",
                           "line|Removing files... ok", "line|Removing directories... ok", "line|Finishing",
                           "line|Application uninstall finished."}));

    QMap<QString, QString> after = Snapshot(root);
    const QStringList gone = {"app/install.log", "app/Uninstall.bmp", "app/Uninstall", "app/pre.sh", "app/a.txt",
                              "app/data/x.dat", "app/data/y.dat", "app/data/link.dat", "app/a.hlp", "app/a.gid",
                              "app/a.fts", "app/shared1.dll", "app/srv.dll", "data/fonts/VeskoSans.ttf",
                              "data/applications/Vesko.desktop", "app/data/nested", "app/data/nested/deeper"};
    QMap<QString, QString> expected = before;
    for (const QString& name : gone)
        EXPECT_EQ(expected.remove(name), 1) << qPrintable(name);
    const QStringList changed = {"config/vesko.ini", "data/Uninstall/Registry.txt"};
    for (const QString& name : changed) {
        EXPECT_TRUE(after.contains(name));
        after.remove(name);
        expected.remove(name);
    }
    EXPECT_EQ(after, expected);

    QFile iniFile(root + QStringLiteral("/config/vesko.ini"));
    ASSERT_TRUE(iniFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(iniFile.readAll(), "; settings\r\n[Main]\r\nKeep=y\r\n[Other]\r\nPath=z\r\n");
    TRegistryStore store(root + QStringLiteral("/data/Uninstall"));
    TRegValue value;
    const QByteArray sharedKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    ASSERT_TRUE(store.QueryValue(HKEY_LOCAL_MACHINE, sharedKey, app.toUtf8() + "/shared3.dll", value));
    EXPECT_EQ(value.Data, QByteArray("\x02\x00\x00\x00", 4));
    EXPECT_FALSE(store.QueryValue(HKEY_LOCAL_MACHINE, sharedKey, app.toUtf8() + "/shared1.dll", value));
    EXPECT_TRUE(store.QueryValue(HKEY_LOCAL_MACHINE, sharedKey, root.toUtf8() + "/foreign.dll", value));
    const QByteArray fontsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
    EXPECT_FALSE(store.QueryValue(HKEY_LOCAL_MACHINE, fontsKey, "Vesko Sans (TrueType)", value));
    EXPECT_TRUE(store.QueryValue(HKEY_LOCAL_MACHINE, fontsKey, "Foreign Font", value));
    EXPECT_FALSE(store.KeyExists(HKEY_LOCAL_MACHINE, "Software\\Vesko"));
    EXPECT_TRUE(store.KeyExists(HKEY_LOCAL_MACHINE, "Software\\Foreign"));
    EXPECT_FALSE(store.QueryValue(HKEY_CURRENT_USER, "Software\\Vesko", "a\\b", value));
    EXPECT_TRUE(store.QueryValue(HKEY_CURRENT_USER, "Software\\Vesko", "Other", value));
}
