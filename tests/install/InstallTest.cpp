#include "core/ui/ProgramIcon.h"
#include "support/RealFiles.h"
#include "support/TestSupport.h"

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
                            QStringLiteral("share/zumbrel/Uninstall*")};
    for (int size : ICON_SIZES)
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/zumbrel.png").arg(size);
    expected.sort();
    EXPECT_EQ(installedTree(root), expected);

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
