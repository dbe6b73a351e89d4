// The Linux platform layer on a real link: a veth pair whose one end is named ppp0, with the default
// route through it, in a network namespace of its own. The test runs itself again inside that
// namespace (`ip netns exec` gives it the namespace's /sys and /proc/net); traffic goes only to the
// pair's other end, in a second namespace.
#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/TrafficCounters.h"
#include "core/platform/linux/LinuxConnectedState.h"
#include "core/platform/linux/LinuxLineMonitor.h"
#include "core/platform/linux/LinuxPhoneBook.h"
#include "core/platform/linux/LinuxTrafficCounters.h"
#include "support/RealFiles.h"
#include "support/StandIn.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <csignal>
#include <unistd.h>

namespace {
// "<namespace>:<peer namespace>" when this process runs inside the link's namespace.
constexpr char INSIDE_ENV[] = "ZUMBREL_LINK_NAMESPACES";
const QString LOCAL = QStringLiteral("169.254.77.1"), PEER = QStringLiteral("169.254.77.2");

int RunProgram(const QString& program, const QStringList& args, QByteArray* output = nullptr,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int timeoutMs = 10000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted() || !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (output) *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool Ip(const QStringList& args)
{
    QByteArray out;
    const bool ok = RunProgram(QStringLiteral("ip"), args, &out) == 0;
    EXPECT_TRUE(ok) << "ip " << args.join(' ').toStdString() << ": " << out.constData();
    return ok;
}

// Deletes the namespaces however the test ends; their links go with them.
struct Namespaces {
    QStringList names;
    ~Namespaces()
    {
        for (const QString& n : names) RunProgram(QStringLiteral("ip"), {"netns", "delete", n});
    }
};

// A new ppp0 with its address, up, and the default route through it, as pppd leaves a link.
bool MakeLink(const QString& peerNamespace)
{
    return Ip({"link", "add", "ppp0", "type", "veth", "peer", "name", "peer0", "netns", peerNamespace}) &&
           Ip({"-n", peerNamespace, "address", "add", PEER + "/30", "dev", "peer0"}) &&
           Ip({"-n", peerNamespace, "link", "set", "peer0", "up"}) &&
           Ip({"address", "add", LOCAL + "/30", "dev", "ppp0"}) && Ip({"link", "set", "ppp0", "up"}) &&
           Ip({"route", "add", "default", "dev", "ppp0"});
}

bool LinkUp() { return Ip({"link", "set", "ppp0", "up"}) && Ip({"route", "add", "default", "dev", "ppp0"}); }

void SendToPeer(int datagrams)
{
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(s, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9); // discard; the peer answers "port unreachable"
    ::inet_pton(AF_INET, PEER.toLatin1().constData(), &to.sin_addr);
    const QByteArray payload(1000, 'x');
    for (int i = 0; i < datagrams; ++i)
        ::sendto(s, payload.constData(), size_t(payload.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(s);
}

// Sends 5,000 bytes on a later connection of ppp0 and gives what is counted for that connection.
double CountedOnLaterConnection(PhoneBook& book, quint32 handle, quint64 sentBefore)
{
    SetPhoneBook(&book);
    InitRasCounters();
    SendToPeer(5);
    LinuxTrafficCounters counters;
    quint64 rx = 0, tx = 0;
    for (int i = 0; i < 100 && tx < sentBefore + 5000 && counters.read("ppp0", &rx, &tx); ++i) QThread::msleep(10);
    UpdateTrafficCounters(QStringLiteral("5.1"), handle);
    SetPhoneBook(nullptr);
    return G_BytesOut;
}

void Put(const QTemporaryDir& dir, const QString& rel, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(dir.filePath(rel)).absolutePath());
    QFile f(dir.filePath(rel));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool DefaultRouteThroughPpp0()
{
    QByteArray routes;
    return RunProgram(QStringLiteral("ip"), {"route", "show", "default"}, &routes) == 0 && routes.contains("ppp0");
}

// A pppd dialling a serial line on demand keeps ppp0 up with the default route from its start and across
// its idle hang-ups; it holds the line's lock only while the line is dialled.
void DemandLink(const QString& peerNamespace)
{
    ASSERT_TRUE(MakeLink(peerNamespace));
    QProcess pppd; // its command line is a demand pppd's, read from the real /proc
    ASSERT_TRUE(StartStandIn(pppd, QStringLiteral("/bin/sh"),
                             {"-c", "sleep 60; true", "/usr/sbin/pppd", "call", "provider", "demand", "idle", "20"}));
    const QByteArray pid = QByteArray::number(pppd.processId());
    QTemporaryDir dir;
    Put(dir, "peers/provider", "/dev/ttyUSB0\nuser hans\n");
    Put(dir, "options", "lock\n");
    Put(dir, "run/ppp0.pid", pid + "\n");
    QDir().mkpath(dir.filePath("run/lock"));
    const PppdFiles files{"/proc", dir.filePath("run"), dir.filePath("run/lock"), dir.filePath("peers"),
                          dir.filePath("options")};
    PppdFiles paths = files;
    paths.pppd = dir.filePath("pppd");
    LinuxPhoneBook book(paths);
    LinuxConnectedState state(QStringLiteral("/proc/net"), files);
    const auto dial = [&] { Put(dir, "run/lock/LCK..ttyUSB0", pid.rightJustified(10) + "\n"); };
    const auto idleHangUp = [&] { return QFile::remove(dir.filePath("run/lock/LCK..ttyUSB0")); };

    EXPECT_TRUE(DefaultRouteThroughPpp0());
    EXPECT_EQ(state.flags(), 0u) << "before the dial";
    EXPECT_TRUE(book.connections().isEmpty());

    dial();
    EXPECT_EQ(state.flags(), quint32(INTERNET_CONNECTION_MODEM));
    QList<RasConnInfo> conns = book.connections();
    ASSERT_EQ(conns.size(), 1);
    const quint32 first = conns[0].hrasconn;
    SendToPeer(20);
    quint64 rxEnd = 0, txEnd = 0;
    LinuxTrafficCounters counters;
    for (int i = 0; i < 100 && txEnd < 20000; ++i) {
        QThread::msleep(10);
        ASSERT_TRUE(counters.read("ppp0", &rxEnd, &txEnd));
    }

    ASSERT_TRUE(idleHangUp());
    EXPECT_TRUE(DefaultRouteThroughPpp0());
    EXPECT_EQ(state.flags(), 0u) << "after the idle hang-up";
    EXPECT_TRUE(book.connections().isEmpty());
    RasStatusInfo status;
    EXPECT_EQ(book.connectStatus(first, status), ERROR_INVALID_HANDLE);

    // The next dial is a new connection with its own bytes.
    dial();
    EXPECT_EQ(state.flags(), quint32(INTERNET_CONNECTION_MODEM));
    conns = book.connections();
    ASSERT_EQ(conns.size(), 1);
    const quint32 second = conns[0].hrasconn;
    EXPECT_NE(second, first);
    const double sent = CountedOnLaterConnection(book, second, txEnd);
    EXPECT_GE(sent, 5 * 1000);
    EXPECT_LT(sent, double(txEnd)); // the first dial's 20,000 bytes are not in it

    pppd.kill();
    pppd.waitForFinished();
    Ip({"link", "delete", "ppp0"});
}

void InsideTheNamespace(const QString& peerNamespace)
{
    ASSERT_TRUE(Ip({"link", "set", "lo", "up"}));
    ASSERT_TRUE(MakeLink(peerNamespace));

    // A stand-in pppd that called "provider" on a serial modem.
    QProcess pppd;
    ASSERT_TRUE(StartStandIn(pppd, QStringLiteral("/bin/sh"),
                             {"-c", "sleep 60; true", "/usr/sbin/pppd", "call", "provider"}));
    const QByteArray pid = QByteArray::number(pppd.processId());
    QTemporaryDir dir;
    Put(dir, "peers/provider", "/dev/ttyUSB0\nuser hans\n");
    Put(dir, "run/ppp0.pid", pid + "\n");
    Put(dir, "run/ppp-provider.pid", pid + "\nppp0\n");
    Put(dir, "run/lock/LCK..ttyUSB0", "      " + pid + "\n");
    PppdFiles paths;
    paths.peersDir = dir.filePath("peers");
    paths.runDir = dir.filePath("run");
    paths.lockDir = dir.filePath("run/lock");
    paths.pppd = dir.filePath("pppd");

    EXPECT_EQ(LinuxConnectedState().flags(), quint32(INTERNET_CONNECTION_MODEM));
    EXPECT_TRUE(LinuxLineMonitor(paths).serialLinkUp());

    LinuxPhoneBook book(paths);
    RasStatusInfo status;
    QList<RasConnInfo> conns = book.connections();
    ASSERT_EQ(conns.size(), 1);
    EXPECT_EQ(conns[0].szEntryName, "provider");
    EXPECT_EQ(conns[0].szDeviceName, "ttyUSB0");
    const quint32 first = conns[0].hrasconn;
    EXPECT_EQ(book.interfaceName(first), "ppp0");

    // The byte counters of the link are the kernel's own.
    LinuxTrafficCounters counters;
    quint64 rx0 = 0, tx0 = 0, rx = 0, tx = 0;
    ASSERT_TRUE(counters.read(book.interfaceName(first), &rx0, &tx0));
    SendToPeer(20);
    for (int i = 0; i < 100 && (rx <= rx0 || tx < tx0 + 20000); ++i) {
        QThread::msleep(10);
        ASSERT_TRUE(counters.read("ppp0", &rx, &tx));
    }
    EXPECT_GE(tx, tx0 + 20 * 1000);
    EXPECT_GT(rx, rx0); // the peer's answers
    EXPECT_EQ(tx, ReadToEnd("/sys/class/net/ppp0/statistics/tx_bytes").trimmed().toULongLong());

    // Down and up again: a new connection; the old handle reports it gone.
    ASSERT_TRUE(Ip({"link", "set", "ppp0", "down"}));
    EXPECT_TRUE(book.connections().isEmpty());
    EXPECT_EQ(LinuxConnectedState().flags(), 0u);
    quint64 rxEnd = 0, txEnd = 0;
    ASSERT_TRUE(counters.read("ppp0", &rxEnd, &txEnd));
    ASSERT_TRUE(LinkUp());
    conns = book.connections();
    ASSERT_EQ(conns.size(), 1);
    const quint32 second = conns[0].hrasconn;
    EXPECT_NE(second, first);
    EXPECT_EQ(book.connectStatus(first, status), ERROR_INVALID_HANDLE);
    EXPECT_EQ(book.connectStatus(second, status), RAS_SUCCESS);

    // The second connection's bytes are what the interface carried since it came up again, not the
    // first connection's too.
    CountedOnLaterConnection(book, second, txEnd);
    EXPECT_GE(G_BytesOut, 5 * 1000);
    EXPECT_LT(G_BytesOut, double(txEnd)); // the 20,000 bytes of the first connection are not in it
    EXPECT_LE(G_BytesOut + double(txEnd),
              double(ReadToEnd("/sys/class/net/ppp0/statistics/tx_bytes").trimmed().toULongLong()));

    // Made anew between two looks (a new interface index): again a new connection, and hanging up the
    // old handle ends nothing.
    const QByteArray index = ReadToEnd("/sys/class/net/ppp0/ifindex");
    ASSERT_TRUE(Ip({"link", "delete", "ppp0"}));
    ASSERT_TRUE(MakeLink(peerNamespace));
    ASSERT_NE(ReadToEnd("/sys/class/net/ppp0/ifindex"), index);
    conns = book.connections();
    ASSERT_EQ(conns.size(), 1);
    const quint32 third = conns[0].hrasconn;
    EXPECT_NE(third, second);
    EXPECT_EQ(book.connectStatus(second, status), ERROR_INVALID_HANDLE);
    EXPECT_EQ(book.interfaceName(second), "");
    EXPECT_EQ(book.hangUp(second), ERROR_INVALID_HANDLE);
    EXPECT_EQ(pppd.state(), QProcess::Running);

    // An ordinary user's program may not end root's pppd: the link stays up, and that is said.
    book.setTerminator([](qint64 pid) {
        return RunProgram(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups", "kill",
                                                      QString::number(pid)}) == 0;
    });
    ScriptedDialogs dialogs;
    SetDialogHandler(&dialogs);
    SetPhoneBook(&book);
    const int bound = SetHangUpWaitBound(200);
    EXPECT_FALSE(HangUpConnection(third));
    SetHangUpWaitBound(bound);
    SetPhoneBook(nullptr);
    SetDialogHandler(nullptr);
    EXPECT_EQ(dialogs.texts(), QStringList{"Die Verbindung 'provider' konnte nicht getrennt werden."});
    EXPECT_EQ(pppd.state(), QProcess::Running);
    EXPECT_EQ(book.connections().size(), 1);

    // Hanging up the link's own handle ends its pppd.
    book.setTerminator([](qint64 pid) { return ::kill(pid_t(pid), SIGTERM) == 0; });
    EXPECT_EQ(book.hangUp(third), RAS_SUCCESS);
    EXPECT_TRUE(pppd.waitForFinished(5000));
    Ip({"link", "delete", "ppp0"});

    DemandLink(peerNamespace);
}
} // namespace

TEST(RealLink, VethNamedPpp0InANetworkNamespace)
{
    const QString inside = qEnvironmentVariable(INSIDE_ENV);
    if (!inside.isEmpty()) return InsideTheNamespace(inside.section(':', 1));

    if (::geteuid() != 0) GTEST_SKIP() << "making network namespaces needs root";
    if (RunProgram(QStringLiteral("ip"), {"netns", "list"}) != 0) GTEST_SKIP() << "no ip netns";
    Namespaces ns;
    const QString tag = QString::number(QCoreApplication::applicationPid());
    for (const QString& role : {QStringLiteral("link"), QStringLiteral("peer")}) {
        const QString name = "zumbrel-" + role + "-" + tag;
        if (RunProgram(QStringLiteral("ip"), {"netns", "add", name}) != 0) GTEST_SKIP() << "ip netns add refused";
        ns.names << name;
    }
    if (RunProgram(QStringLiteral("ip"), {"netns", "exec", ns.names[0], "true"}) != 0)
        GTEST_SKIP() << "ip netns exec refused";

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(INSIDE_ENV, ns.names.join(':'));
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString self = QString::fromUtf8(test->test_suite_name()) + "." + test->name();
    QByteArray output;
    const QStringList args{"netns", "exec", ns.names[0], QCoreApplication::applicationFilePath(),
                           "--gtest_filter=" + self};
    const int rc = RunProgram(QStringLiteral("ip"), args, &output, env, 120000);
    EXPECT_EQ(rc, 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.") && !output.contains("[  SKIPPED ]")) << output.constData();
}
