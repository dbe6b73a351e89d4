#include "SmallDisk.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {
constexpr char INSIDE_ENV[] = "ZUMBREL_PRIVATE_MOUNTS";
constexpr char FILLER[] = "/.filler";

void rerun(bool* inside)
{
    *inside = qEnvironmentVariableIsSet(INSIDE_ENV);
    if (*inside) return;
    if (::geteuid() != 0) GTEST_SKIP() << "a private mount namespace needs root";
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(INSIDE_ENV, "1");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("unshare"),
            {"-m", "--propagation", "private", QCoreApplication::applicationFilePath(),
             QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    if (!p.waitForStarted()) GTEST_SKIP() << "no unshare";
    if (!p.waitForFinished(120000)) p.kill();
    const QByteArray output = p.readAll();
    if (!output.contains("[ RUN      ]")) GTEST_SKIP() << "unshare -m refused: " << output.constData();
    if (output.contains("[  SKIPPED ]")) GTEST_SKIP() << output.constData();
    EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.constData();
}

bool mountTmpfs(const QString& folder, int kilobytes)
{
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
    return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                   options.constData()) == 0;
}

bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
} // namespace

bool InPrivateMounts()
{
    bool inside = false;
    rerun(&inside);
    return inside;
}

SmallDisk::SmallDisk(const QString& folder, Kind kind, int kilobytes) : m_folder(folder), m_filled(folder)
{
    if (kind == Tmpfs) {
        m_mounted = mountTmpfs(folder, kilobytes);
        return;
    }
    m_image = std::make_unique<QTemporaryDir>();
    m_filled = m_image->path();
    const QString image = m_filled + "/ext2.img";
    m_mounted = mountTmpfs(m_filled, 4 * kilobytes) && run("truncate", {"-s", "8M", image}) &&
                run("mkfs.ext2", {"-q", "-F", image}) && run("mount", {"-o", "loop", image, folder});
}

SmallDisk::~SmallDisk()
{
    ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    if (m_image) ::umount2(QFile::encodeName(m_filled).constData(), MNT_DETACH);
}

void SmallDisk::fill()
{
    ::sync(); // what was written before is on the disk
    const int fd = ::open(QFile::encodeName(m_filled + FILLER).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                          0600);
    ASSERT_GE(fd, 0);
    const QByteArray page(4096, 'x');
    // whole pages, then what is left of the last one
    for (qsizetype chunk : {page.size(), qsizetype(1)})
        while (::write(fd, page.constData(), size_t(chunk)) == chunk) {}
    ::close(fd);
}

void SmallDisk::free() { ::unlink(QFile::encodeName(m_filled + FILLER).constData()); }
