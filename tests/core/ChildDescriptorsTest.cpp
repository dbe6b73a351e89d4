#include "core/SignalPipe.h"
#include "core/platform/linux/LinuxPhoneBook.h"
#include "core/platform/linux/LinuxProgramStarter.h"
#include "recording/Prelaunch.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
QSet<int> descriptorsOf(const QString& pid)
{
    QSet<int> out;
    for (const QString& name :
         QDir("/proc/" + pid + "/fd").entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        out.insert(name.toInt());
    return out;
}

// Once the child sleeps as `sleep`, its exec is over, with the closing of the close-on-exec descriptors
// and the loader's own.
bool isAsleep(const QString& pid)
{
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray line = stat.readAll();
    return line.contains(" (sleep) ") && line.mid(line.lastIndexOf(')') + 2, 1) == "S";
}

// The descriptors this process would hand down to a child now: those without close-on-exec.
QSet<int> handedDown()
{
    QSet<int> out;
    for (const int fd : descriptorsOf(QString::number(::getpid()))) {
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC)) out.insert(fd);
    }
    return out;
}

class ChildDescriptorsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        // The standard descriptors (a runner may have closed some), and what whoever started the tests
        // handed down besides: that is not the program's.
        inherited = handedDown();
        standard = inherited & QSet<int>{0, 1, 2};
        inherited -= standard;
        // A child that says who it is and then stays, as the program it becomes, with what it inherited.
        const auto q = [this](const char* name) { return "'" + QFile::encodeName(path(name)) + "'"; };
        writeFile("child", "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + q("args") + "\necho $$ > " + q("pid.tmp") + "\nmv " +
                               q("pid.tmp") + " " + q("pid") + "\nexec sleep 30\n");
        QFile::setPermissions(path("child"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    void TearDown() override
    {
        if (!child.isEmpty()) ::kill(pid_t(child.toLongLong()), SIGKILL);
        ProgramTest::TearDown();
    }

    // The descriptors of the child once it has become `sleep`.
    QSet<int> childDescriptors()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000) {
            QCoreApplication::processEvents();
            child = readFile("pid").trimmed();
            if (!child.isEmpty() && isAsleep(child)) return descriptorsOf(child) - inherited;
            QThread::msleep(10);
        }
        ADD_FAILURE() << "the child did not start";
        return {};
    }
    void endChild()
    {
        ::kill(pid_t(child.toLongLong()), SIGKILL);
        child.clear();
        QFile::remove(path("pid"));
    }

    QSet<int> inherited, standard;
    QString child;
};
} // namespace

TEST_F(ChildDescriptorsTest, ChildrenGetNothingButTheirStandardDescriptors)
{
    int signalPipe[2] = {-1, -1};
    ASSERT_TRUE(MakeSignalPipe(signalPipe));
    for (const int fd : signalPipe)
        EXPECT_TRUE(::fcntl(fd, F_GETFL) & O_NONBLOCK);
    InstanceLock lock(path("instance.lock"));
    ASSERT_TRUE(lock.tryLock());
    ASSERT_TRUE(lock.tryLockFolder(dir.path()));
    ASSERT_TRUE(lock.holdsFolder()); // a started program holding it would keep the folder after the end

    ASSERT_TRUE(LinuxProgramStarter().start(path("child")));
    EXPECT_EQ(childDescriptors(), standard);
    endChild();

    // pppd gets the password pipe, and that alone.
    writeFile("peers/provider", "user hans\n");
    PppdFiles paths;
    paths.peersDir = path("peers");
    paths.runDir = path("run");
    paths.sysClassNet = path("sys");
    paths.pppd = path("child");
    {
        LinuxPhoneBook book(paths);
        for (const QString& password : {QString("geheim"), QString()}) {
            RasDialInfo params;
            params.szEntryName = "provider";
            params.szPassword = password;
            quint32 handle = 0;
            ASSERT_EQ(book.dial(QString(), params, handle), RAS_SUCCESS);
            const QSet<int> fds = childDescriptors();
            const QStringList args = QString::fromUtf8(readFile("args")).split('\n');
            const qsizetype at = args.indexOf("passwordfd");
            EXPECT_EQ(at < 0, password.isEmpty());
            QSet<int> expected{0, 1, 2};
            if (at >= 0) expected.insert(args.value(at + 1).toInt());
            EXPECT_EQ(fds, expected) << password.toStdString();
            endChild();
            RasStatusInfo status;
            QElapsedTimer t;
            t.start();
            while (book.connectStatus(handle, status) != ERROR_INVALID_HANDLE && t.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    }
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

// The handler runs between any two steps of the program, which may be about to read errno: a write that
// fails (a full pair) leaves it as it was.
TEST(SignalPipe, TheHandlersWriteKeepsErrno)
{
    int fds[2] = {-1, -1};
    ASSERT_TRUE(MakeSignalPipe(fds));
    const char fill[4096] = {};
    while (::write(fds[0], fill, sizeof fill) > 0) {}
    errno = ERANGE;
    SendSignalByte(fds[0], SIGTERM);
    EXPECT_EQ(errno, ERANGE);
    for (const int fd : fds) ::close(fd);
}
