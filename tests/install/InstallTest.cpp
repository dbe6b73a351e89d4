#include "core/Win1252.h"
#include "core/ProgramIcon.h"
#include "support/RealFiles.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

// The installation that `cmake --install` makes of this build tree, and the installed program started there.
namespace {
const int ICON_SIZES[] = {16, 22, 24, 32, 48, 64, 128, 256};

// cmake's output when the installation failed, else empty.
QString install(const QString& prefix, const QString& destdir = {})
{
    QProcess cmake;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DESTDIR"));
    if (!destdir.isEmpty()) env.insert(QStringLiteral("DESTDIR"), destdir);
    cmake.setProcessEnvironment(env);
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    cmake.start(QStringLiteral(CMAKE_PROGRAM),
                {QStringLiteral("--install"), QStringLiteral(ZUMBREL_BUILD_DIR), QStringLiteral("--prefix"), prefix});
    if (!cmake.waitForFinished(120000)) return QStringLiteral("cmake --install did not end");
    const QString output = QString::fromLocal8Bit(cmake.readAll());
    return cmake.exitStatus() == QProcess::NormalExit && cmake.exitCode() == 0 ? QString() : output;
}

// Every file below the folder ("*" after an executable one) and every empty folder ("/" after it), sorted.
QStringList installedTree(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString name = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isDir()) {
            if (QDir(entry.filePath()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
                out << name + QLatin1Char('/');
        } else {
            out << name + (entry.isExecutable() ? QStringLiteral("*") : QString());
        }
    }
    out.sort();
    return out;
}

// Every entry below the folder: its kind and permissions, and a file's bytes and modification time; sorted.
QStringList snapshot(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        QString state = QString::number(int(entry.permissions()), 16);
        if (entry.isDir())
            state += QStringLiteral(" folder");
        else
            state += u' ' + QCryptographicHash::hash(ReadToEnd(entry.filePath()), QCryptographicHash::Sha1).toHex() +
                     u' ' + QString::number(entry.lastModified().toMSecsSinceEpoch());
        out << QDir(root).relativeFilePath(entry.filePath()) + u' ' + state;
    }
    out.sort();
    return out;
}

// The installation log as the uninstaller reads it: Windows-1252, CR LF, a line "<path>=1" per entry.
QByteArray installLog(const QStringList& files, const QStringList& folders)
{
    QString text = QStringLiteral("[CopyFiles]\r\n");
    for (const QString& file : files)
        text += file + QStringLiteral("=1\r\n");
    text += QStringLiteral("\r\n[CreateDirs]\r\n");
    for (const QString& folder : folders)
        text += folder + QStringLiteral("=1\r\n");
    return Win1252::encode(text + QStringLiteral("\r\n"));
}

// The signals the process has a handler for, from its /proc status line "SigCgt:".
quint64 caughtSignals(qint64 pid)
{
    for (const QByteArray& line : ReadToEnd(QStringLiteral("/proc/%1/status").arg(pid)).split('\n'))
        if (line.startsWith("SigCgt:")) return line.mid(7).trimmed().toULongLong(nullptr, 16);
    return 0;
}

bool catches(qint64 pid, int signal)
{
    return caughtSignals(pid) & (quint64(1) << (signal - 1));
}
} // namespace

TEST(InstallTest, FilesLieWhereTheProgramLooksForThem)
{
    QTemporaryDir stage;
    ASSERT_TRUE(stage.isValid());
    // staged below DESTDIR, as a package build installs; the menu entry names the prefix alone
    const QString prefix = QStringLiteral("/opt/Zumbrel $1");
    ASSERT_EQ(install(prefix, stage.path()), QString());
    const QString root = stage.path() + prefix;

    QStringList expected = {QStringLiteral("bin/zumbrel*"), QStringLiteral("share/applications/zumbrel.desktop"),
                            QStringLiteral("share/zumbrel/Sounds/"), QStringLiteral("share/zumbrel/Tarife/"),
                            QStringLiteral("share/zumbrel/Uninstall*"), QStringLiteral("share/zumbrel/install.log")};
    for (int size : ICON_SIZES)
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/zumbrel.png").arg(size);
    expected.sort();
    EXPECT_EQ(installedTree(root), expected);

    // the manifest and the log name the files where they will lie, without the stage
    QFile manifest(QStringLiteral(ZUMBREL_BUILD_DIR "/install_manifest.txt"));
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    QStringList listed = QString::fromUtf8(manifest.readAll()).split(u'\n', Qt::SkipEmptyParts);
    listed.sort();
    QStringList files;
    for (const QString& name : expected)
        if (!name.endsWith(u'/')) files << prefix + u'/' + QString(name).remove(u'*');
    EXPECT_EQ(listed, files);
    QFile log(root + QStringLiteral("/share/zumbrel/install.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    EXPECT_TRUE(logged.startsWith("[CopyFiles]\r\n/opt/Zumbrel $1/bin/zumbrel=1\r\n")) << logged.toStdString();
    // staged, the log cannot know which folders the system holds: it names the installation's own alone
    EXPECT_TRUE(logged.endsWith("\r\n\r\n[CreateDirs]\r\n/opt/Zumbrel $1/share/zumbrel=1\r\n"
                                "/opt/Zumbrel $1/share/zumbrel/Tarife=1\r\n/opt/Zumbrel $1/share/zumbrel/Sounds=1\r\n"
                                "\r\n"))
        << logged.toStdString();

    // the window's own drawing, pixel for pixel, at each size a theme looks for
    for (int size : ICON_SIZES) {
        QImageReader reader(root + QStringLiteral("/share/icons/hicolor/%1x%1/apps/zumbrel.png").arg(size));
        EXPECT_EQ(reader.format().toStdString(), "png") << size;
        const QImage image = reader.read();
        EXPECT_EQ(image.width(), size);
        EXPECT_EQ(image.height(), size);
        EXPECT_TRUE(image.convertToFormat(QImage::Format_ARGB32) ==
                    DrawProgramIcon(size).convertToFormat(QImage::Format_ARGB32))
            << size;
    }

    QFile entry(root + QStringLiteral("/share/applications/zumbrel.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = entry.readAll().split('\n');
    // quoted, with the $ escaped for the quotes and that backslash once more for the string
    EXPECT_TRUE(lines.contains("Exec=\"/opt/Zumbrel \\\\$1/bin/zumbrel\""));
    EXPECT_TRUE(lines.contains("Icon=zumbrel"));
}

TEST(InstallTest, InstalledProgramStartsFromItsInstallation)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString prefix = scratch.path() + QStringLiteral("/usr");
    ASSERT_EQ(install(prefix), QString());
    // a tariff of the installation reaches a new data folder only through ../share/zumbrel from bin/zumbrel
    const QString tariff = QStringLiteral("Testnetz - Standard.tel");
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZUMBREL_SHIPPED_TARIFF), prefix + "/share/zumbrel/Tarife/" + tariff));
    const QStringList installed = installedTree(prefix);

    const QString data = scratch.path() + QStringLiteral("/data");
    const QString runtime = scratch.path() + QStringLiteral("/run");
    ASSERT_TRUE(QDir().mkpath(scratch.path() + QStringLiteral("/home")));
    ASSERT_TRUE(QDir().mkdir(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZUMBREL_FOLDER"), data);
    env.insert(QStringLiteral("HOME"), scratch.path() + QStringLiteral("/home"));
    // its own single-instance lock, so that no running Zumbrel or other test refuses the start
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);

    QProcess zumbrel;
    zumbrel.setProcessEnvironment(env);
    zumbrel.setWorkingDirectory(scratch.path());
    zumbrel.start(prefix + QStringLiteral("/bin/zumbrel"), {});
    ASSERT_TRUE(zumbrel.waitForStarted(10000));
    const qint64 pid = zumbrel.processId();
    // ready for the session's end once the data folder stands and SIGTERM has its handler
    const auto ready = [&] {
        return QFileInfo::exists(data + QStringLiteral("/Benutzer/Supervisor.usr")) &&
               QFileInfo::exists(data + QStringLiteral("/Tarife/") + tariff) && catches(pid, SIGTERM);
    };
    QElapsedTimer waited;
    waited.start();
    while (!ready() && !zumbrel.waitForFinished(50) && waited.elapsed() < 60000) {
    }
    const bool started = ready();
    ::kill(pid, SIGTERM);
    const bool ended = zumbrel.waitForFinished(15000);
    if (!ended) zumbrel.kill();
    const std::string output = zumbrel.readAllStandardError().toStdString();
    ASSERT_TRUE(started) << output;
    ASSERT_TRUE(ended) << output;
    EXPECT_EQ(zumbrel.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(zumbrel.exitCode(), 0) << output;

    QFile shipped(QStringLiteral(ZUMBREL_SHIPPED_TARIFF));
    QFile copied(data + QStringLiteral("/Tarife/") + tariff);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly) && copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), shipped.readAll());
    EXPECT_EQ(installedTree(prefix), installed); // the installation is only read
}

#ifdef SCRIPTED_UNINSTALL
TEST(InstallTest, InstalledUninstallerRemovesTheInstallationAndNothingElse)
{
    const struct {
        const char* name;
        // installed below a DESTDIR, then copied into a prefix whose folders the stage could not see
        bool staged;
    } cases[] = {{"in place", false}, {"staged", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir scratch, home, stage;
        ASSERT_TRUE(scratch.isValid() && home.isValid() && stage.isValid());
        // the log's code page holds the prefix
        const QString prefix = scratch.path() + QStringLiteral("/Zümbrel €");
        QStringList files = {prefix + QStringLiteral("/bin/zumbrel")};
        QStringList folders = {prefix + QStringLiteral("/share/zumbrel"),
                               prefix + QStringLiteral("/share/zumbrel/Tarife"),
                               prefix + QStringLiteral("/share/zumbrel/Sounds")};
        if (!c.staged)
            folders << prefix + QStringLiteral("/share/icons") << prefix + QStringLiteral("/share/icons/hicolor");
        for (int size : ICON_SIZES) {
            const QString theme = prefix + QStringLiteral("/share/icons/hicolor/%1x%1").arg(size);
            files << theme + QStringLiteral("/apps/zumbrel.png");
            if (c.staged) // a system's empty folders, where the installation puts its own files
                ASSERT_TRUE(QDir().mkpath(theme + QStringLiteral("/apps")));
            else
                folders << theme << theme + QStringLiteral("/apps");
        }
        files << prefix + QStringLiteral("/share/applications/zumbrel.desktop")
              << prefix + QStringLiteral("/share/zumbrel/Uninstall");
        ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/bin")));
        ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/share/applications")));
        if (!c.staged) {
            // another program's files where the installation puts its own
            QFile other(prefix + QStringLiteral("/bin/andere"));
            ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write("#!/bin/sh\n") > 0);
            other.close();
            ASSERT_TRUE(other.setPermissions(other.permissions() | QFile::ExeOwner));
            QFile entry(prefix + QStringLiteral("/share/applications/andere.desktop"));
            ASSERT_TRUE(entry.open(QIODevice::WriteOnly) && entry.write("[Desktop Entry]\n") > 0);
        }
        const QStringList before = snapshot(scratch.path());

        const QString root = c.staged ? stage.path() + prefix : prefix;
        const QString destdir = c.staged ? stage.path() : QString();
        const QString logPath = root + QStringLiteral("/share/zumbrel/install.log");
        if (c.staged) {
            // an earlier stage's log names a folder that the system has
            ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/share/zumbrel")));
            QFile earlier(logPath);
            ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) &&
                        earlier.write(installLog(files, QStringList{prefix + QStringLiteral("/bin")} + folders)) > 0);
        }
        ASSERT_EQ(install(prefix, destdir), QString());
        EXPECT_EQ(ReadToEnd(logPath), installLog(files, folders));
        // installed again, the folders stand already: those the first log listed stay listed, in place
        ASSERT_EQ(install(prefix, destdir), QString());
        EXPECT_EQ(ReadToEnd(logPath), installLog(files, folders));
        if (c.staged) {
            QProcess copy;
            copy.start(QStringLiteral("cp"), {QStringLiteral("-R"), root + QStringLiteral("/."), prefix});
            ASSERT_TRUE(copy.waitForFinished(60000) && copy.exitCode() == 0) << copy.readAllStandardError().data();
        }

        // the installed program, with a script answering as its user would: Yes, then Close
        const QString uninstall = prefix + QStringLiteral("/share/zumbrel/Uninstall");
        ASSERT_TRUE(QFile::remove(uninstall) && QFile::copy(QStringLiteral(SCRIPTED_UNINSTALL), uninstall));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "HOME"})
            env.insert(QLatin1String(name), home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home.path());
        process.start(uninstall, {});
        ASSERT_TRUE(process.waitForFinished(60000));
        const std::string errors = process.readAllStandardError().toStdString();
        ASSERT_EQ(process.exitStatus(), QProcess::NormalExit) << errors;
        EXPECT_EQ(process.exitCode(), 0) << errors;
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
                  (QStringList{"box|Vesko Uninstaller|Are you sure you want to completely remove the selected "
                               "application and all of its components?",
                               "line|Removing files... ok", "line|Removing directories... ok",
                               "line|Application uninstall finished."}));
        // the installation's files and share/zumbrel are gone, every folder that stood before stays
        EXPECT_EQ(snapshot(scratch.path()), before);
    }
}
#endif

TEST(InstallTest, APrefixTheLogCannotNameInstallsNothing)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const struct {
        QString name;
        QString refusal;
    } cases[] = {
        {QStringLiteral("Zumbrel \u0416"), QStringLiteral("a character that Windows-1252 cannot hold")},
        {QStringLiteral("Zum\tbrel"), QStringLiteral("a control character")},
        {QStringLiteral("Zum\rbrel"), QStringLiteral("a control character")},
        {QStringLiteral("Zum;brel"), QStringLiteral("a \";\", which CMake takes for a list separator")},
        {QStringLiteral("Zum =brel"), QStringLiteral("a blank or tab beside an \"=\"")},
        {QStringLiteral("Zum= brel"), QStringLiteral("a blank or tab beside an \"=\"")},
    };
    for (const auto& c : cases) {
        const QString prefix = scratch.path() + u'/' + c.name;
        // cmake wraps its messages
        const QString output = install(prefix).simplified();
        EXPECT_TRUE(output.contains(QStringLiteral("The prefix \"%1\" has %2: the installation log "
                                                   "share/zumbrel/install.log could not name its files. Nothing "
                                                   "was installed.")
                                        .arg(prefix.simplified(), c.refusal)))
            << output.toStdString();
        EXPECT_FALSE(QFileInfo::exists(prefix)) << c.name.toStdString();
    }
}
