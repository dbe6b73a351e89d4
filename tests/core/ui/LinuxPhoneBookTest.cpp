#include "core/platform/linux/LinuxPhoneBook.h"

#include "core/Dialing.h"
#include "core/ui/Status.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QThread>

#include "support/PppdFixture.h"
#include "support/RealFiles.h"
#include "support/StandIn.h"
#include "support/TestSupport.h"

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {
class LinuxPhoneBookTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        paths = PppdFilesBelow(dir.path());
        write("peers/provider", "# dial-up through the modem\n"
                                "connect \"/usr/sbin/chat -v -f /etc/chatscripts/provider -T 0191011\"\n"
                                "/dev/ttyUSB0\n115200\nnoauth\n"
                                "user \"hans.muster@isp\"   # the provider's login\n");
        write("peers/Arcor", "plugin rp-pppoe.so eth0\nuser arcor\n");
        write("peers/.hidden", "user x\n");
        write("peers/bad..name", "user x\n");
        QDir().mkpath(p("peers/sub"));
        write("pap-secrets", "# client\tserver\tsecret\n\"hans.muster@isp\" * \"geh eim\"\n");
        write("chap-secrets", "arcor * ''\n");
        write("options", "lock\n"); // as Debian's
    }
    QString p(const QString& rel) const { return path(rel); }
    void write(const QString& rel, const QByteArray& bytes) const { writeFile(rel, bytes); }
    void iface(const QString& name, const char* flags) const { write("sys/" + name + "/flags", flags); } // 0x1 = up

    PppdFiles paths;
};

template <typename Pred>
bool waitFor(Pred pred, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return pred();
}
} // namespace

TEST_F(LinuxPhoneBookTest, EntriesAreThePeerFilesWithSafeNames)
{
    LinuxPhoneBook book(paths);
    QStringList names;
    for (const RasEntryInfo& e : book.entries(QString())) {
        names << e.szEntryName;
        EXPECT_EQ(e.szPhonebookPath, paths.peersDir);
    }
    EXPECT_EQ(names, (QStringList{"Arcor", "provider"}));
    for (const char* bad : {"../provider", "a/b", "..", ""}) EXPECT_FALSE(IsValidEntryName(bad)) << bad;
    EXPECT_TRUE(IsValidEntryName("T-Online 2"));

    EXPECT_FALSE(book.isAvailable()); // paths.pppd does not exist: a dial fails at once
    RasDialInfo params;
    params.szEntryName = "provider";
    params.szPassword = "x";
    quint32 handle = 0;
    EXPECT_NE(book.dial(QString(), params, handle), RAS_SUCCESS);
}

TEST_F(LinuxPhoneBookTest, StoredDialDataComeFromThePeerFileAndSecrets)
{
    LinuxPhoneBook book(paths);
    const struct {
        QString entry;
        quint32 result;
        QString user, number;
        SavedPassword saved;
    } rows[] = {
        {"provider", RAS_SUCCESS, "hans.muster@isp", "0191011", SavedPassword::Yes},
        {"Arcor", RAS_SUCCESS, "arcor", "", SavedPassword::No}, // an empty secret is no password
        {"missing", ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "", "", SavedPassword::No},
        {"../peers/provider", ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "", "", SavedPassword::No},
    };
    for (const auto& r : rows) {
        RasDialInfo info;
        SavedPassword saved = SavedPassword::Yes;
        EXPECT_EQ(book.entryDialParams(QString(), r.entry, info, saved), r.result) << r.entry.toStdString();
        EXPECT_EQ(info.szEntryName, r.entry);
        EXPECT_EQ(info.szUserName, r.user) << r.entry.toStdString();
        EXPECT_EQ(info.szPhoneNumber, r.number) << r.entry.toStdString();
        EXPECT_TRUE(info.szPassword.isEmpty());
        EXPECT_EQ(saved, r.saved) << r.entry.toStdString();
    }
}

TEST_F(LinuxPhoneBookTest, UnreadableSecretsLeaveThePasswordToPppd)
{
    // Secrets that cannot be read may hold the password; only files that are missing or that hold no
    // password for the user mean none.
    QDir().mkpath(p("secretsdir")); // a folder in the secrets' place cannot be read
    const QString unreadable = p("secretsdir"), missing = p("missing");
    const struct {
        QString pap, chap, user;
        SavedPassword saved;
    } rows[] = {
        {unreadable, paths.chapSecrets, "hans.muster@isp", SavedPassword::Unknown},
        {paths.papSecrets, unreadable, "arcor", SavedPassword::Unknown}, // the one readable file has none
        {unreadable, missing, "", SavedPassword::Unknown},               // a peer without a user name
        {paths.papSecrets, unreadable, "hans.muster@isp", SavedPassword::Yes},
        {missing, paths.chapSecrets, "hans.muster@isp", SavedPassword::No},
        {missing, p("missing2"), "hans.muster@isp", SavedPassword::No}, // no secrets file at all
        {paths.papSecrets, paths.chapSecrets, "", SavedPassword::No},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SecretsHoldPassword({r.pap, r.chap}, r.user), r.saved)
            << r.pap.toStdString() << " " << r.user.toStdString();

    PppdFiles folderPaths = paths;
    folderPaths.papSecrets = unreadable;
    RasDialInfo info;
    SavedPassword saved = SavedPassword::No;
    EXPECT_EQ(LinuxPhoneBook(folderPaths).entryDialParams(QString(), "provider", info, saved), RAS_SUCCESS);
    EXPECT_EQ(saved, SavedPassword::Unknown);
    EXPECT_EQ(info.szUserName, "hans.muster@isp");

    QFile::setPermissions(paths.papSecrets, QFileDevice::Permissions());
    if (::access(QFile::encodeName(paths.papSecrets).constData(), R_OK) == 0)
        GTEST_SKIP() << "running with the right to read every file";
    EXPECT_EQ(SecretsHoldPassword({paths.papSecrets, paths.chapSecrets}, "hans.muster@isp"), SavedPassword::Unknown);
    const QString folder = QFileInfo(paths.papSecrets).absolutePath();
    QFile::setPermissions(folder, QFileDevice::ReadOwner); // not even to be looked at
    EXPECT_EQ(SecretsHoldPassword({paths.papSecrets}, "hans.muster@isp"), SavedPassword::Unknown);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(LinuxPhoneBookTest, OptionWordsNumberOverrideAndPppdArguments)
{
    EXPECT_EQ(SplitOptionWords("user \"a b\" # comment \"x\"\nname 'c d'\\s e\\\\f\n"),
              (QStringList{"user", "a b", "name", "c d ", "e\\f"}));
    EXPECT_EQ(ConnectWithNumber("/usr/sbin/chat -v -f /etc/chatscripts/provider -T 0191011", "0800 123"),
              "/usr/sbin/chat -v -f /etc/chatscripts/provider -T 0800 123");
    EXPECT_EQ(ConnectWithNumber("chat -T*99# -v", "*98#"), "chat -T*98# -v");
    // The connect command runs through a shell: nothing but a dial string goes into it.
    EXPECT_EQ(ConnectWithNumber("chat -T 0191011", "1; rm -rf ~"), "");
    EXPECT_EQ(ConnectWithNumber("chat -f provider", "0191011"), "");
    EXPECT_EQ(PppdArguments("provider", "hans", 12, "chat -T 0800"),
              (QStringList{"call", "provider", "updetach", "user", "hans", "plugin", "passwordfd.so", "passwordfd",
                           "12", "connect", "chat -T 0800"}));
    EXPECT_EQ(PppdArguments("provider", "", -1), (QStringList{"call", "provider", "updetach"}));
}

TEST_F(LinuxPhoneBookTest, ActiveConnectionsFromInterfacesAndPidFiles)
{
    iface("ppp0", "0x1091\n");
    write("run/ppp0.pid", "1234\n");
    write("run/ppp-provider.pid", "1234\nppp0\n");
    iface("ppp1", "0x1090\n"); // not up yet: still dialling
    write("run/ppp1.pid", "777\n");
    iface("ppp10", "0x1091\n");
    write("run/ppp10.pid", "555\n");
    write("proc/555/cmdline", QByteArray("/usr/sbin/pppd\0call\0Arcor\0updetach\0", 36));
    iface("ppp2", "0x1091\n"); // a link nobody left a pid file for
    iface("ppp11", "0x1091\n"); // up for a pppd that dials on demand, its line not dialled
    write("run/ppp11.pid", "888\n");
    write("proc/888/cmdline", QByteArray("/usr/sbin/pppd\0call\0ondemand\0", 29));
    write("peers/ondemand", "/dev/ttyS0\ndemand\nidle 20\n");
    iface("ppp12", "0x1091\n"); // the same without a lock to tell by
    write("run/ppp12.pid", "889\n");
    write("proc/889/cmdline", QByteArray("/usr/sbin/pppd\0call\0provider\0demand\0nolock\0", 43));
    iface("eth0", "0x1003\n");

    LinuxPhoneBook book(paths);
    QList<qint64> ended;
    book.setTerminator([&](qint64 pid) { return ended << pid, true; });
    const QList<RasConnInfo> conns = book.connections();
    QStringList seen;
    for (const RasConnInfo& c : conns)
        seen << c.szEntryName + "|" + c.szDeviceType + "|" + c.szDeviceName + "|" + book.interfaceName(c.hrasconn);
    EXPECT_EQ(seen, QStringList({"provider|modem|ttyUSB0|ppp0", "||ppp2|ppp2", "Arcor|PPPoE|ppp10|ppp10",
                                 "provider|modem|ttyUSB0|ppp12"}));
    ASSERT_EQ(conns.size(), 4);
    EXPECT_EQ(book.interfaceName(0), "");
    EXPECT_EQ(book.connections()[2].hrasconn, conns[2].hrasconn); // handles stay

    RasStatusInfo status;
    EXPECT_EQ(book.connectStatus(conns[0].hrasconn, status), RAS_SUCCESS);
    EXPECT_EQ(status.rasconnstate, quint32(RASCS_Connected));
    EXPECT_EQ(status.szPhoneNumber, "0191011");
    EXPECT_EQ(book.connectStatus(4711, status), ERROR_INVALID_HANDLE);

    // Dialling an entry that is up already gives its connection; no pppd is started.
    quint32 connected = 0;
    const auto c = QObject::connect(&book, &PhoneBook::dialEvent, [&](quint32 h, quint32 state, quint32) {
        if (state == RASCS_Connected) connected = h;
    });
    RasDialInfo params;
    params.szEntryName = "provider";
    quint32 handle = 0;
    EXPECT_EQ(book.dial(QString(), params, handle), RAS_SUCCESS);
    EXPECT_EQ(handle, conns[0].hrasconn);
    EXPECT_TRUE(waitFor([&] { return connected != 0; }, 1000));
    EXPECT_EQ(connected, handle);
    QObject::disconnect(c);
    // An entry whose pppd waits for traffic to dial is no connection, and a second pppd may not take it.
    write("pppd", "#!/bin/sh\nexit 8\n");
    QFile::setPermissions(paths.pppd, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    params.szEntryName = "ondemand";
    EXPECT_EQ(book.dial(QString(), params, handle), ERROR_PORT_NOT_AVAILABLE);
    EXPECT_EQ(handle, 0u);

    EXPECT_EQ(book.hangUp(conns[0].hrasconn), RAS_SUCCESS);
    EXPECT_EQ(book.hangUp(conns[2].hrasconn), RAS_SUCCESS);
    EXPECT_EQ(ended, (QList<qint64>{1234, 555}));
    EXPECT_EQ(book.hangUp(conns[1].hrasconn), ERROR_ACCESS_DENIED); // no pppd to end
    EXPECT_EQ(book.hangUp(4711), ERROR_INVALID_HANDLE);

    // The link is gone once its interface is.
    QDir(p("sys/ppp0")).removeRecursively();
    EXPECT_EQ(book.connectStatus(conns[0].hrasconn, status), ERROR_INVALID_HANDLE);
    EXPECT_EQ(book.connections().size(), 3);
}

TEST_F(LinuxPhoneBookTest, EachLinkHasItsOwnHandle)
{
    write("run/ppp-provider.pid", "100\nppp0\n");
    write("sys/ppp0/ifindex", "7\n");
    iface("ppp0", "0x1091\n");
    LinuxPhoneBook book(paths);
    QList<qint64> ended;
    book.setTerminator([&](qint64 pid) { return ended << pid, true; });
    RasStatusInfo status;
    const auto handleNow = [&]() -> quint32 {
        const QList<RasConnInfo> conns = book.connections();
        return conns.size() == 1 ? conns[0].hrasconn : 0;
    };
    const auto gone = [&](quint32 h) {
        return book.connectStatus(h, status) == ERROR_INVALID_HANDLE && book.interfaceName(h).isEmpty() &&
               book.hangUp(h) == ERROR_INVALID_HANDLE;
    };

    const quint32 first = handleNow();
    ASSERT_NE(first, 0u);
    write("run/ppp-provider.pid", "101\nppp0\n"); // pppd went to the background: the same link
    EXPECT_EQ(handleNow(), first);

    write("sys/ppp0/ifindex", "8\n"); // the link dropped and pppd made a new unit between two looks
    const quint32 second = handleNow();
    EXPECT_NE(second, first);
    EXPECT_TRUE(gone(first));
    EXPECT_TRUE(ended.isEmpty()); // hanging up the old handle ends nothing

    iface("ppp0", "0x1090\n"); // down
    EXPECT_EQ(handleNow(), 0u);
    iface("ppp0", "0x1091\n"); // and up again: a new connection
    const quint32 third = handleNow();
    EXPECT_NE(third, 0u);
    EXPECT_NE(third, second);
    EXPECT_TRUE(gone(second));
    EXPECT_EQ(book.connectStatus(third, status), RAS_SUCCESS);
    EXPECT_EQ(book.interfaceName(third), "ppp0");

    QFile::remove(p("sys/ppp0/ifindex")); // without the index the pid tells the links apart
    const quint32 byPid = handleNow();
    EXPECT_EQ(handleNow(), byPid);
    write("run/ppp-provider.pid", "102\nppp0\n");
    EXPECT_NE(handleNow(), byPid);
    EXPECT_TRUE(gone(byPid));
    EXPECT_EQ(book.hangUp(handleNow()), RAS_SUCCESS);
    EXPECT_EQ(ended, QList<qint64>{102});
}

TEST_F(LinuxPhoneBookTest, ALaterConnectionOnTheSameInterfaceCountsFromWhereTheLastEnded)
{
    // A connection ends when its interface goes down, or when a pppd dialling on demand hangs its line up
    // for idleness: the interface stays up, and only the line's lock goes.
    const QString lock = "run/lock/LCK..ttyUSB0";
    const struct {
        const char* how;
        QByteArray cmdline;
        std::function<void(bool)> line;
    } ways[] = {
        {"interface", QByteArray("/usr/sbin/pppd\0call\0provider\0", 29),
         [&](bool up) { iface("ppp0", up ? "0x1091\n" : "0x1090\n"); }},
        {"demand", QByteArray("/usr/sbin/pppd\0call\0provider\0demand\0idle\0" "20\0", 44),
         [&](bool up) { up ? write(lock, "       100\n") : void(QFile::remove(p(lock))); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        for (const char* folder : {"run", "sys", "proc"}) QDir(p(folder)).removeRecursively();
        write("proc/100/cmdline", way.cmdline);
        write("run/ppp-provider.pid", "100\nppp0\n");
        write("sys/ppp0/ifindex", "7\n");
        iface("ppp0", "0x1091\n");
        way.line(true);
        const auto totals = [&](const char* rx, const char* tx) {
            write("sys/ppp0/statistics/rx_bytes", rx);
            write("sys/ppp0/statistics/tx_bytes", tx);
        };
        LinuxPhoneBook book(paths);
        const auto baseline = [&](quint32 h) {
            quint64 rx = 1, tx = 1;
            book.byteBaseline(h, &rx, &tx);
            return QPair<quint64, quint64>(rx, tx);
        };
        const auto handleNow = [&]() -> quint32 {
            const QList<RasConnInfo> conns = book.connections();
            return conns.size() == 1 ? conns[0].hrasconn : 0;
        };
        totals("5000\n", "700\n");
        const quint32 first = handleNow(); // an interface seen for the first time counts from its zero
        EXPECT_EQ(baseline(first), qMakePair(quint64(0), quint64(0)));
        totals("22780\n", "900\n");
        way.line(false); // the first connection ends at these totals
        EXPECT_EQ(handleNow(), 0u);
        totals("22800\n", "910\n");
        way.line(true);
        const quint32 second = handleNow();
        EXPECT_NE(second, first);
        EXPECT_EQ(baseline(second), qMakePair(quint64(22780), quint64(900)));
        EXPECT_EQ(baseline(first), qMakePair(quint64(0), quint64(0))); // gone

        QFile::remove(p("sys/ppp0/statistics/rx_bytes")); // its end could not be read
        way.line(false);
        EXPECT_EQ(handleNow(), 0u);
        totals("30000\n", "1000\n");
        way.line(true);
        EXPECT_EQ(baseline(handleNow()), qMakePair(quint64(30000), quint64(1000))); // from where it was first seen

        write("sys/ppp0/ifindex", "8\n"); // pppd made a new unit: its counters start at 0
        totals("40\n", "20\n");
        EXPECT_EQ(baseline(handleNow()), qMakePair(quint64(0), quint64(0)));
    }
}

TEST_F(LinuxPhoneBookTest, ReadsTheRealSysAndProcFiles)
{
    // Loopback stands in for the ppp unit and a shell for pppd: their sysfs and /proc files report sizes
    // they do not have.
    const QByteArray index = ReadToEnd("/sys/class/net/lo/ifindex");
    if (index.isEmpty() || !QFileInfo::exists("/proc/self/cmdline")) GTEST_SKIP() << "no /sys or /proc";
    QProcess pppd;
    ASSERT_TRUE(StartStandIn(pppd, "/bin/sh", {"-c", "sleep 30; true", "call", "provider", "demand"}));
    write("run/ppp0.pid", QByteArray::number(pppd.processId()) + "\n");
    write("run/lock/LCK..ttyUSB0", QByteArray::number(pppd.processId()).rightJustified(10) + "\n");
    QDir().mkpath(p("sys"));
    ASSERT_TRUE(QFile::link("/sys/class/net/lo", p("sys/ppp0")));
    paths.procDir = "/proc";

    LinuxPhoneBook book(paths);
    const QList<RasConnInfo> conns = book.connections();
    ASSERT_EQ(conns.size(), 1);
    EXPECT_EQ(conns[0].szEntryName, "provider"); // from the shell's command line
    EXPECT_EQ(conns[0].szDeviceName, "ttyUSB0");
    EXPECT_EQ(book.interfaceName(conns[0].hrasconn), "ppp0");
    // Its line and number are what that pppd read at the first look: no later tick opens a peer file.
    RasStatusInfo status;
    const QStringList opened = OpenedIn(p("peers"), [&] {
        EXPECT_EQ(book.connections().value(0).szDeviceName, "ttyUSB0");
        EXPECT_EQ(book.connectStatus(conns[0].hrasconn, status), RAS_SUCCESS);
    });
    EXPECT_EQ(opened, QStringList());
    EXPECT_EQ(status.szDeviceName, "ttyUSB0");
    EXPECT_EQ(status.szPhoneNumber, "0191011");
    QFile::remove(p("run/lock/LCK..ttyUSB0")); // the command line says "demand": the idle hang-up ends it
    EXPECT_TRUE(book.connections().isEmpty());
    pppd.kill();
    pppd.waitForFinished();

    // A pid file left behind naming a zombie, whose command line reads empty: that gives the link no entry
    // name, and no "demand" holds it back.
    const pid_t zombie = ::fork();
    if (zombie == 0) ::_exit(0);
    ASSERT_GT(zombie, 0);
    QElapsedTimer waited;
    waited.start();
    bool dead = false;
    while (!(dead = ReadToEnd(QStringLiteral("/proc/%1/stat").arg(zombie)).contains(") Z ")) && waited.elapsed() < 5000)
        QThread::msleep(1);
    write("run/ppp0.pid", QByteArray::number(zombie) + "\n");
    const QByteArray cmdline = ReadToEnd(QStringLiteral("/proc/%1/cmdline").arg(zombie));
    const QList<RasConnInfo> left = LinuxPhoneBook(paths).connections();
    ::waitpid(zombie, nullptr, 0);
    ASSERT_TRUE(dead);
    EXPECT_EQ(cmdline, "");
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].szEntryName, "");
    EXPECT_EQ(left[0].szDeviceName, "ppp0");
}

TEST_F(LinuxPhoneBookTest, DialRunsPppdWithThePasswordOnItsPipe)
{
    // A stand-in pppd: keeps its arguments and what it reads from the password descriptor, ends as told.
    const QString out = p("out");
    const QByteArray script = "#!/bin/bash\n"
                              "printf '%s\\n' \"$@\" > '" + QFile::encodeName(out) + ".args'\n"
                              "fd=; prev=; for a in \"$@\"; do [ \"$prev\" = passwordfd ] && fd=$a; prev=$a; done\n"
                              "[ -n \"$fd\" ] && cat <&$fd > '" + QFile::encodeName(out) + ".pw'\n"
                              "exit $(cat '" + QFile::encodeName(p("exitcode")) + "')\n";
    write("pppd", script);
    QFile::setPermissions(paths.pppd, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    LinuxPhoneBook book(paths);
    ASSERT_TRUE(book.isAvailable());

    const struct {
        QByteArray exitCode;
        quint32 state, error;
    } rows[] = {
        {"19", RASCS_AuthNotify, ERROR_AUTHENTICATION_FAILURE}, // failed to authenticate to the peer
        {"0", RASCS_Connected, 0},                              // link up, pppd went to the background
        {"8", RASCS_Disconnected, ERROR_PORT_DISCONNECTED},     // the connect script failed
    };
    for (const auto& r : rows) {
        write("exitcode", r.exitCode);
        QFile::remove(out + ".args");
        QFile::remove(out + ".pw");
        QList<QPair<quint32, quint32>> events;
        const auto c = QObject::connect(&book, &PhoneBook::dialEvent, [&](quint32, quint32 state, quint32 error) {
            events << qMakePair(state, error);
        });
        RasDialInfo params;
        params.szEntryName = "provider";
        params.szUserName = "hans";
        params.szPassword = "geh eim$1";
        params.szPhoneNumber = "0800 123";
        quint32 handle = 0;
        ASSERT_EQ(book.dial(QString(), params, handle), RAS_SUCCESS);
        EXPECT_NE(handle, 0u);
        ASSERT_TRUE(waitFor([&] { return !events.isEmpty() && events.last().first != RASCS_OpenPort; }, 3000));
        QObject::disconnect(c);
        EXPECT_EQ(events.first().first, quint32(RASCS_OpenPort));
        EXPECT_EQ(events.last(), qMakePair(r.state, r.error)) << r.exitCode.constData();

        const QByteArray argText = readFile("out.args");
        EXPECT_FALSE(argText.contains("geh")) << argText.constData();
        EXPECT_TRUE(argText.startsWith("call\nprovider\nupdetach\nuser\nhans\nplugin\npasswordfd.so\npasswordfd\n"));
        EXPECT_TRUE(argText.contains("connect\n/usr/sbin/chat -v -f /etc/chatscripts/provider -T 0800 123\n"));
        EXPECT_EQ(readFile("out.pw"), QByteArray("geh eim$1"));
        RasStatusInfo status;
        EXPECT_EQ(book.connectStatus(handle, status), ERROR_INVALID_HANDLE); // no ppp interface in the fixture
    }

    // The pipe is filled before pppd runs: a password larger than the smallest pipe is refused, in bytes.
    write("exitcode", "0");
    const struct {
        QString password;
        quint32 result;
    } sizes[] = {
        {QString(2048, QChar(0xE4)), RAS_SUCCESS},                       // 4096 bytes
        {QString(2048, QChar(0xE4)) + "a", ERROR_PORT_NOT_AVAILABLE}, // 4097 bytes
    };
    for (const auto& r : sizes) {
        QFile::remove(out + ".pw");
        RasDialInfo params;
        params.szEntryName = "provider";
        params.szPassword = r.password;
        quint32 handle = 99;
        ASSERT_EQ(book.dial(QString(), params, handle), r.result);
        if (r.result != RAS_SUCCESS) {
            EXPECT_EQ(handle, 0u);
            QCoreApplication::processEvents();
            EXPECT_FALSE(QFile::exists(out + ".pw")); // no pppd started
            continue;
        }
        EXPECT_TRUE(waitFor([&] { return readFile("out.pw").size() == 4096; }, 3000));
        EXPECT_EQ(readFile("out.pw"), r.password.toUtf8());
        RasStatusInfo status;
        EXPECT_TRUE(waitFor([&] { return book.connectStatus(handle, status) == ERROR_INVALID_HANDLE; }, 3000));
    }

    // An entry that is no peer file dials nothing.
    RasDialInfo params;
    params.szEntryName = "../provider";
    quint32 handle = 99;
    EXPECT_EQ(book.dial(QString(), params, handle), ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
    EXPECT_EQ(handle, 0u);
}

TEST_F(LinuxPhoneBookTest, SecretsOnlyPppdReadsDialWithoutPromptOrPlugin)
{
    // A stand-in pppd that keeps its arguments and fails the authentication once the dial is under way.
    write("pppd",
          "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(p("out.args")) + "'\nsleep 0.3\nexit 19\n");
    QFile::setPermissions(paths.pppd, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(p("secretsdir")); // a folder in the secrets' place cannot be read
    paths.papSecrets = p("secretsdir");
    LinuxPhoneBook book(paths);
    SetPhoneBook(&book);
    const int oldStart = SetDialStartWait(50);

    const quint32 handle = DialEntry(QString(), "provider");
    EXPECT_NE(handle, 0u);
    EXPECT_TRUE(dialogs.inputs.isEmpty());
    Status* status = StatusWindow();
    EXPECT_TRUE(waitFor([&] { return status->Label1->text().startsWith("Benutzername"); }, 3000));
    EXPECT_EQ(status->Label1->text(), "Benutzername oder Passwort ist falsch! (6)");
    EXPECT_EQ(readFile("out.args"), "call\nprovider\nupdetach\nuser\nhans.muster@isp\n"); // pppd's own secrets
    EXPECT_TRUE(dialogs.messages.isEmpty());

    UnloadDialProgressWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetDialStartWait(oldStart);
    SetPhoneBook(nullptr);
}
