#include "core/platform/linux/LinuxConnectedState.h"
#include "core/platform/linux/LinuxHostAddresses.h"
#include "core/platform/linux/LinuxLineMonitor.h"
#include "support/PppdFixture.h"
#include "support/RealFiles.h"
#include "support/StandIn.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace {
void Write(const QString& path, const QByteArray& bytes, QFile::Permissions perms = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (perms) f.setPermissions(perms);
}

const QByteArray ROUTE_HEADER = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
QByteArray RouteLine(const char* iface, const char* dest, const char* flags, const char* mask)
{
    return QByteArray(iface) + "\t" + dest + "\t0102A8C0\t" + flags + "\t0\t0\t100\t" + mask + "\t0\t0\t0\n";
}

// A /proc/<pid>/cmdline: each word ends in a NUL.
QByteArray Argv(std::initializer_list<const char*> words)
{
    QByteArray bytes;
    for (const char* w : words) bytes.append(w).append('\0');
    return bytes;
}

using Files = QList<QPair<QString, QByteArray>>;

// A /proc/<pid>/stat of a process that started at `start`; its command name holds a blank and a parenthesis.
QByteArray StatStartedAt(int start)
{
    return "4321 (pp) d) S 1 4321 4321 0 -1 4194560 0 0 0 0 0 0 0 0 20 0 1 0 " + QByteArray::number(start) +
           " 8000000 100\n";
}

} // namespace

TEST(LinuxConnectedState, DefaultRouteDecidesModemOrLan)
{
    const QByteArray ppp0 = RouteLine("ppp0", "00000000", "0003", "00000000");
    const QPair<QString, QByteArray> pid{"run/ppp0.pid", "4321\n"}, locked{"run/lock/LCK..ttyUSB0", "      4321\n"},
        lockOption{"options", "lock\n"}, serialPeer{"peers/provider", "/dev/ttyUSB0\n115200\n"},
        demandCall{"proc/4321/cmdline", Argv({"/usr/sbin/pppd", "call", "provider", "demand", "idle", "20"})},
        call{"proc/4321/cmdline", Argv({"/usr/sbin/pppd", "call", "provider"})},
        realUser{"proc/4321/status", "Name:\tpppd\nUid:\t1000\t0\t0\t0\nGid:\t1000\t1000\t1000\t1000\n"};
    const Files idle{pid, demandCall, serialPeer, lockOption};
    const QString lockFile = "/run/lock/LCK..ttyUSB0";
    // Empty files take no room on the lock folder's tmpfs: another account plants as many as it likes.
    const auto flood = [](const QString& root) {
        for (int i = 0; i < 3000; ++i) {
            QFile f(root + "/run/lock/LCK..ttyS" + QString::number(i));
            if (!f.open(QIODevice::WriteOnly) || f.write("      4321\n") != 11) return false;
        }
        return true;
    };
    const QByteArray pidLine = "      4321\n";
    struct Case {
        QByteArray routes;
        quint32 flags;
        Files files{}; // below the fixture's /proc, /run, /run/lock and /etc/ppp
        std::function<bool(const QString& root)> forge{}; // what another account put in the lock folder
    } cases[] = {
        {RouteLine("ppp0", "00000000", "0003", "00000000"), 1},
        {RouteLine("wwan0", "00000000", "0001", "00000000"), 1},
        {RouteLine("eth0", "00000000", "0003", "00000000"), 2},
        {RouteLine("eth0", "0002A8C0", "0001", "00FFFFFF"), 0}, // only a local network route
        {RouteLine("eth0", "00000000", "0002", "00000000"), 0}, // default route not up
        {RouteLine("eth0", "0002A8C0", "0001", "00FFFFFF") + RouteLine("ppp0", "00000000", "0001", "00000000") +
             RouteLine("wlan0", "00000000", "0003", "00000000"),
         3},
        {QByteArray(), 0},
        // A pppd dialling a serial line on demand is connected only while it holds the line's lock.
        {ppp0, 1, {pid, demandCall, serialPeer, lockOption, locked}},
        {ppp0, 0, {pid, demandCall, serialPeer, lockOption}}, // before the dial, and after the idle hang-up
        // Any account may write to the lock folder: what it puts there never makes the idle link count.
        {ppp0, 0, idle + Files{{"run/forged", "      4321\n"}},
         [&](const QString& root) { return QFile::link(root + "/run/forged", root + lockFile); }},
        {ppp0, 0, idle + Files{locked}, // pppd runs as root: a lock of another owner is forged
         [&](const QString& root) { return ::chown(QFile::encodeName(root + lockFile).constData(), 65534, 0) == 0; }},
        {ppp0, 0, idle, // a pipe, never waited for
         [&](const QString& root) { return ::mkfifo(QFile::encodeName(root + lockFile).constData(), 0644) == 0; }},
        {ppp0, 0, idle + Files{locked}, // never read whole
         [&](const QString& root) { return QFile(root + lockFile).resize(qint64(1) << 30); }},
        {ppp0, 1, idle + Files{{"run/lock/LCK..ttyUSB0", pidLine.leftJustified(64, ' ')}}},
        {ppp0, 0, idle + Files{{"run/lock/LCK..ttyUSB0", pidLine.leftJustified(100, ' ')}}}, // longer than a lock
        {ppp0, 0, idle + Files{{"run/held", pidLine}}, // a second name of a file that holds the pid
         [&](const QString& root) {
             return ::link(QFile::encodeName(root + "/run/held").constData(),
                           QFile::encodeName(root + lockFile).constData()) == 0;
         }},
        {ppp0, 0, idle, flood},                 // only the line's own lock is read
        {ppp0, 1, idle + Files{locked}, flood}, // and found beside a flood
        {ppp0, 0, {pid, call, {"peers/provider", "/dev/ttyUSB0\ndemand\nidle 20\n"}, lockOption,
                   {"run/lock/LCK..ttyS1", "      9999\n"}}}, // demand in the peer file; another's lock
        {ppp0, 0, {pid, call, serialPeer, {"options", "lock\ndemand\n"}}},
        {ppp0, 0, {{"run/ppp-provider.pid", "4321\nppp0\n"}, demandCall, serialPeer, lockOption}},
        {ppp0, 0, {pid, demandCall, {"peers/provider", "/dev/ttyUSB0\nuser nolock\n"}, lockOption}}, // a login
        {ppp0 + RouteLine("eth0", "00000000", "0003", "00000000"), 2, {pid, demandCall, serialPeer, lockOption}},
        // Every other link counts as its route says: one never locked, one without demand, one without pppd.
        {ppp0, 1, {pid, demandCall, {"peers/provider", "/dev/ttyUSB0\nnolock\n"}, lockOption}},
        {ppp0, 1, {pid, demandCall, serialPeer}}, // pppd locks nothing unless told to
        {ppp0, 1, {pid, demandCall, {"peers/provider", "plugin rp-pppoe.so eth0\n"}, lockOption}}, // no serial line
        {ppp0, 1, {pid, call, serialPeer, lockOption}},                                            // no demand
        {ppp0, 1, {pid, serialPeer, lockOption}},                                                  // pppd is gone
        // pppd also reads the ~/.ppprc of the user who started it, its line's options.<tty> and the files that
        // `file` names, in place; the last of lock and nolock wins, and its command line outranks the tty's file.
        {ppp0, 1, {pid, demandCall, serialPeer, lockOption, realUser, {"home/1000/.ppprc", "nolock\n"}}},
        {ppp0, 0, {pid, demandCall, serialPeer, {"options", "nolock\n"}, realUser, {"home/1000/.ppprc", "lock\n"}}},
        {ppp0, 0, {pid, demandCall, {"peers/provider", "noauth\n"}, lockOption, realUser,
                   {"home/1000/.ppprc", "ttyS1\n"}}}, // the line named there
        {ppp0, 1, {pid, demandCall, serialPeer, lockOption, {"options.ttyUSB0", "nolock\n"}}},
        {ppp0, 1, {pid, demandCall, {"peers/provider", "/dev/serial/by-id/usb-Modem\n"}, lockOption,
                   {"options.serial.by-id.usb-Modem", "nolock\n"}}},
        {ppp0, 1, {pid, demandCall, {"peers/provider", "/dev/serial/by-id/usb-Modem\n"}, lockOption,
                   {"run/lock/LCK..serial_by-id_usb-Modem", pidLine}}}, // by what follows "dev/"
        {ppp0, 1, {pid, demandCall, {"peers/provider", "ttyUSB0\n"}, lockOption, locked}},
        {ppp0, 0, {pid, demandCall, {"peers/provider", "ttyUSB0\n"}, lockOption, {"run/lock/LCK..ttyUSB1", pidLine}}},
        {ppp0, 0, {pid, demandCall, {"peers/provider", "ttyUSB0\nlock\n"}, {"options.ttyUSB0", "nolock\n"}}},
        {ppp0, 1, {pid, demandCall, {"peers/provider", "/dev/ttyUSB0\nfile $ROOT/modem\n"}, lockOption,
                   {"modem", "lock\nfile $ROOT/more\n"}, {"more", "nolock\n"}}},
        {ppp0, 0, {pid, {"proc/4321/cmdline", Argv({"/usr/sbin/pppd", "file", "$ROOT/modem", "call", "provider"})},
                   {"modem", "nolock\ndemand\n"}, {"peers/provider", "/dev/ttyUSB0\nlock\n"}}},
        {ppp0, 0, {pid, demandCall, {"peers/provider", "/dev/ttyUSB0\nfile $ROOT/loop\n"}, lockOption,
                   {"loop", "file $ROOT/loop\n"}}}, // a file that names itself ends pppd, not this
        // At most 64 option files are read: here the line's file is the 64th, then the 65th.
        {ppp0, 1, {pid, demandCall, serialPeer, {"options", QByteArray("file $ROOT/empty\n").repeated(61) + "lock\n"},
                   {"empty", ""}, {"options.ttyUSB0", "nolock\n"}}},
        {ppp0, 0, {pid, demandCall, serialPeer, {"options", QByteArray("file $ROOT/empty\n").repeated(62) + "lock\n"},
                   {"empty", ""}, {"options.ttyUSB0", "nolock\n"}}},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        Write(dir.path() + "/route", ROUTE_HEADER + c.routes);
        QByteArray shown = c.routes;
        for (const auto& [rel, text] : c.files) {
            const QByteArray bytes = QByteArray(text).replace("$ROOT", QFile::encodeName(dir.path()));
            Write(dir.path() + "/" + rel, bytes);
            shown += rel.toUtf8() + ": " + QByteArray(bytes).replace('\0', ' ') + "\n";
        }
        QDir().mkpath(dir.path() + "/run/lock");
        if (c.forge && !c.forge(dir.path())) {
            EXPECT_NE(geteuid(), 0u) << "a lock of another owner is root's to make";
            continue;
        }
        LinuxConnectedState state(dir.path(), PppdFilesBelow(dir.path()));
        EXPECT_TRUE(state.isAvailable());
        quint32 flags = 0;
        const QStringList opened = OpenedIn(dir.path() + "/run/lock", [&] { flags = state.flags(); });
        EXPECT_EQ(flags, c.flags) << shown.constData();
        EXPECT_LE(opened.size(), 1) << "a look reads one name: " << opened.mid(0, 3).join(' ').toStdString();
    }
    QTemporaryDir empty;
    LinuxConnectedState missing(empty.path());
    EXPECT_FALSE(missing.isAvailable());
    EXPECT_EQ(missing.flags(), 0u);
}

TEST(LinuxConnectedState, LineIsLockedByTheNamePppdGivesIt)
{
    // As Debian's pppd 2.4.9 names its locks: what follows the first "dev/" with "/" made "_", else the last
    // part; a word that is no option of pppd's is its line when it names a character device, below /dev
    // unless it starts with "/". The fixture's devices are links to /dev/null.
    struct Case {
        const char* word;   // the line in the peer file; $ROOT is the fixture
        QStringList chars;  // links to /dev/null below the fixture
        const char* lock;   // the lock pppd holds ("" for none)
        quint32 flags;      // the connected state of a demand link that locks its line
        bool line;          // the telephony line is up
    } cases[] = {
        {"/dev/ttyS0", {}, "LCK..ttyS0", 1, true},
        {"ttyS0", {}, "LCK..ttyS0", 1, true},
        {"/dev/pts/0", {}, "LCK..pts_0", 1, true},
        {"/dev/pts/0", {}, "LCK..0", 0, false},
        {"/dev/serial/by-id/usb-x", {}, "LCK..serial_by-id_usb-x", 1, true},
        {"/dev/serial/by-id/usb-x", {}, "LCK..usb-x", 0, false},
        {"/dev/serial/by-id/usb-x", {}, "", 0, false},
        {"$ROOT/dev/serial/by-id/usb-y", {"dev/serial/by-id/usb-y"}, "LCK..serial_by-id_usb-y", 1, true},
        {"$ROOT/srv/ptyA", {"srv/ptyA"}, "LCK..ptyA", 1, true},
        {"$ROOT/srv/ptyA", {"srv/ptyA"}, "", 0, false},
        {"rfcomm0", {"dev/rfcomm0"}, "LCK..rfcomm0", 1, true},
        {"rfcomm0", {"dev/rfcomm0"}, "", 0, false},
        {"usb/ttyUSB0", {"dev/usb/ttyUSB0"}, "LCK..usb_ttyUSB0", 1, true},
        {"/dev/modem", {}, "LCK..modem", 1, true}, // a link is locked by its own name
        // No line: the demand link counts as its interface says, and there is no telephone line.
        {"rfcomm0", {}, "LCK..rfcomm0", 1, false},
        {"$ROOT/srv/plain", {}, "LCK..plain", 1, false}, // an ordinary file
        {"modem", {"dev/modem"}, "LCK..modem", 1, false}, // pppd's option for the modem lines
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString root = dir.path();
        const PppdFiles files = PppdFilesBelow(root);
        const QString word = QString::fromUtf8(c.word).replace("$ROOT", root);
        Write(root + "/route", ROUTE_HEADER + RouteLine("ppp0", "00000000", "0003", "00000000"));
        Write(files.runDir + "/ppp0.pid", "4321\n");
        Write(files.sysClassNet + "/ppp0/flags", "0x1091\n");
        Write(files.procDir + "/4321/cmdline", Argv({"/usr/sbin/pppd", "call", "provider", "demand"}));
        Write(files.peersDir + "/provider", word.toUtf8() + "\n115200\n");
        Write(files.options, "lock\n");
        Write(root + "/srv/plain", "");
        for (const QString& dev : c.chars) {
            QDir().mkpath(QFileInfo(root + "/" + dev).absolutePath());
            ASSERT_TRUE(QFile::link("/dev/null", root + "/" + dev));
        }
        QDir().mkpath(files.lockDir);
        if (*c.lock) Write(files.lockDir + "/" + c.lock, "      4321\n");
        LinuxConnectedState state(root, files);
        LinuxLineMonitor monitor(files, 50);
        EXPECT_EQ(state.flags(), c.flags) << c.word << " " << c.lock;
        EXPECT_EQ(monitor.serialLinkUp(), c.line) << c.word << " " << c.lock;
    }

    // The machine's own /dev: "null" names a character device there, "route" nothing.
    QTemporaryDir dir;
    PppdFiles files = PppdFilesBelow(dir.path());
    files.devDir = "/dev";
    Write(files.procDir + "/4321/cmdline", Argv({"/usr/sbin/pppd", "route", "null", "demand", "lock"}));
    Write(files.lockDir + "/LCK..null", "      4321\n");
    PppdOptionCache options;
    EXPECT_TRUE(PppdLineLocked(files, 4321, options));
    Write(files.procDir + "/4321/cmdline", Argv({"/usr/sbin/pppd", "null", "route", "demand", "lock"}));
    EXPECT_TRUE(PppdLineLocked(files, 4321, options));
    Write(files.procDir + "/4321/cmdline", Argv({"/usr/sbin/pppd", "route", "demand", "lock"}));
    EXPECT_TRUE(PppdLinkDialled(files, 4321, options));
    EXPECT_FALSE(PppdLineLocked(files, 4321, options));
}

TEST(LinuxConnectedState, PppdReadsThePpprcOfTheUserWhoStartedIt)
{
    // A shell stands in for pppd: its uid comes from the real /proc, whose status file reports size 0.
    if (!QFileInfo::exists("/proc/self/status")) GTEST_SKIP() << "no /proc";
    QProcess pppd;
    ASSERT_TRUE(StartStandIn(pppd, "/bin/sh", {"-c", "sleep 30; true", "call", "provider", "demand"}));
    QTemporaryDir dir;
    Write(dir.path() + "/peers/provider", "/dev/ttyUSB0\n");
    Write(dir.path() + "/options", "lock\n");
    Write(dir.path() + "/home/.ppprc", "nolock\n");
    PppdFiles files = PppdFilesBelow(dir.path());
    files.procDir = "/proc";
    QList<uint> asked;
    files.homeOf = [&](uint uid) {
        asked << uid;
        return dir.path() + "/home";
    };
    PppdOptionCache options;
    EXPECT_TRUE(PppdLinkDialled(files, pppd.processId(), options)); // no lock taken: not a line that waits for traffic
    EXPECT_TRUE(PppdLinkDialled(files, pppd.processId(), options));
    EXPECT_EQ(asked, QList<uint>{uint(getuid())}); // pppd read its options once, at its start
    pppd.kill();
    pppd.waitForFinished();

    // A pppd that got the number of one that ended reads them anew.
    files.procDir = dir.path() + "/proc";
    Write(files.procDir + "/4321/cmdline", Argv({"/usr/sbin/pppd", "call", "provider", "demand"}));
    Write(files.procDir + "/4321/status", "Name:\tpppd\nUid:\t1000\t0\t0\t0\n");
    Write(files.procDir + "/4321/stat", StatStartedAt(1000));
    asked.clear();
    EXPECT_TRUE(PppdLinkDialled(files, 4321, options));
    Write(dir.path() + "/home/.ppprc", "lock\n");
    EXPECT_TRUE(PppdLinkDialled(files, 4321, options));
    Write(files.procDir + "/4321/stat", StatStartedAt(1001));
    EXPECT_FALSE(PppdLinkDialled(files, 4321, options));
    EXPECT_EQ(asked, (QList<uint>{1000, 1000}));

    // A password database that did not answer is asked again at the next look.
    Write(dir.path() + "/home/.ppprc", "nolock\n");
    Write(files.procDir + "/4321/stat", StatStartedAt(1002));
    bool answers = false;
    files.homeOf = [&](uint uid) -> std::optional<QString> {
        asked << uid;
        return answers ? std::optional<QString>(dir.path() + "/home") : std::nullopt;
    };
    asked.clear();
    EXPECT_FALSE(PppdLinkDialled(files, 4321, options));
    answers = true;
    EXPECT_TRUE(PppdLinkDialled(files, 4321, options));
    EXPECT_TRUE(PppdLinkDialled(files, 4321, options));
    EXPECT_EQ(asked, (QList<uint>{1000, 1000}));

    EXPECT_EQ(UserHome(0), "/root");
    EXPECT_EQ(UserHome(4000000000u), QString()); // in no password database
}

TEST(LinuxConnectedState, RealRouteFileAgreesWithItsCopy)
{
    const QString real = QStringLiteral("/proc/net/route");
    if (!QFileInfo::exists(real)) GTEST_SKIP() << "no " << real.toStdString();
    QTemporaryDir copy;
    LinuxConnectedState fromProc(QStringLiteral("/proc/net")), fromCopy(copy.path());
    // The routes may change while we look: the copies before and after must agree for the answer to count.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const QByteArray before = ReadToEnd(real);
        const quint32 flags = fromProc.flags();
        if (ReadToEnd(real) != before) continue;
        Write(copy.path() + "/route", before);
        ASSERT_TRUE(before.startsWith("Iface\t")) << before.constData();
        EXPECT_EQ(flags, fromCopy.flags()) << before.constData();
        return;
    }
    GTEST_SKIP() << "the routes kept changing";
}

TEST(LinuxLineMonitor, ReadsTheRealInterfaceFlags)
{
    // Loopback stands in for the ppp unit: its flags file is sysfs's own, which reports a size it does not have.
    const QByteArray loFlags = ReadToEnd("/sys/class/net/lo/flags");
    if (!(loFlags.trimmed().toUInt(nullptr, 16) & 0x1)) GTEST_SKIP() << "no loopback that is up";
    QTemporaryDir dir;
    const PppdFiles files = PppdFilesBelow(dir.path());
    Write(files.runDir + "/ppp0.pid", "4321\n");
    Write(files.lockDir + "/LCK..ttyUSB0", "      4321\n");
    Write(files.procDir + "/4321/cmdline", Argv({"/usr/sbin/pppd", "/dev/ttyUSB0"}));
    QDir().mkpath(files.sysClassNet);
    ASSERT_TRUE(QFile::link("/sys/class/net/lo", files.sysClassNet + "/ppp0"));
    EXPECT_TRUE(LinuxLineMonitor(files).serialLinkUp());
}

TEST(LinuxHostAddresses, Ipv4OfInterfacesThatAreUpWithoutLoopback)
{
    const struct {
        const char* name;
        int family;
        const char* address;
        unsigned flags;
    } entries[] = {
        {"lo", AF_INET, "127.0.0.1", IFF_UP | IFF_LOOPBACK}, {"eth0", AF_INET, "192.168.0.1", IFF_UP},
        {"eth0", AF_INET6, "fe80::1", IFF_UP},               {"eth1", AF_INET, "10.9.9.9", 0}, // down
        {"ppp0", AF_INET, "80.1.2.3", IFF_UP | IFF_POINTOPOINT}, {"tun0", AF_UNSPEC, nullptr, IFF_UP},
    };
    const size_t n = std::size(entries);
    std::vector<ifaddrs> list(n);
    std::vector<sockaddr_in6> storage(n); // large enough for either family
    for (size_t i = 0; i < n; ++i) {
        list[i] = ifaddrs{};
        list[i].ifa_name = const_cast<char*>(entries[i].name);
        list[i].ifa_flags = entries[i].flags;
        list[i].ifa_next = i + 1 < n ? &list[i + 1] : nullptr;
        storage[i] = sockaddr_in6{};
        if (entries[i].family == AF_UNSPEC) continue;
        auto* sa = reinterpret_cast<sockaddr*>(&storage[i]);
        sa->sa_family = sa_family_t(entries[i].family);
        inet_pton(entries[i].family, entries[i].address,
                  entries[i].family == AF_INET ? static_cast<void*>(&reinterpret_cast<sockaddr_in*>(sa)->sin_addr)
                                               : static_cast<void*>(&storage[i].sin6_addr));
        list[i].ifa_addr = sa;
    }
    EXPECT_EQ(Ipv4Addresses(list.data()), QStringList({"192.168.0.1", "80.1.2.3"}));
    EXPECT_TRUE(Ipv4Addresses(nullptr).isEmpty());

    LinuxHostAddresses host; // the real machine: the lookup works and never lists loopback
    QStringList real;
    EXPECT_TRUE(host.addresses(&real));
    for (const QString& a : real) EXPECT_FALSE(a.startsWith("127.")) << a.toStdString();
}

TEST(LinuxLineMonitor, SerialPppdLinkIsTheLine)
{
    QTemporaryDir dir;
    const PppdFiles files = PppdFilesBelow(dir.path());
    const QString run = files.runDir, net = files.sysClassNet, proc = files.procDir;
    LinuxLineMonitor none(files, 50);
    EXPECT_FALSE(none.isAvailable());
    quint32 app = 0, devices = 9;
    EXPECT_EQ(none.initialize([](quint32, quint32, quint32, quint32, quint32, quint32) {}, &app, &devices), 0);
    EXPECT_EQ(devices, 0u); // no pppd: no line device

    Write(files.pppd, "#!/bin/sh\n", QFile::ReadOwner | QFile::ExeOwner);
    QList<std::pair<quint32, quint32>> events;
    LinuxLineMonitor monitor(files, 50);
    ASSERT_TRUE(monitor.isAvailable());
    ASSERT_EQ(monitor.initialize([&](quint32 call, quint32 msg, quint32, quint32 state, quint32,
                                     quint32) { events << std::make_pair(call, msg == 2 ? state : 0u); },
                                 &app, &devices),
              0);
    EXPECT_EQ(devices, 1u);
    quint32 version = 0, line = 0;
    ASSERT_EQ(monitor.negotiateApiVersion(app, 0, 0x10000, 0x10004, &version), 0);
    ASSERT_EQ(monitor.open(app, 0, &line, version, 2, 0x10), 0);

    EXPECT_FALSE(monitor.serialLinkUp());
    Write(run + "/ppp0.pid", "4321\n");
    Write(net + "/ppp0/flags", "0x1091\n");
    Write(proc + "/4321/cmdline", Argv({"/usr/sbin/pppd", "plugin", "rp-pppoe.so", "eth0"}));
    Write(run + "/lock/LCK..ttyS1", "      4321\n");
    EXPECT_FALSE(monitor.serialLinkUp()); // a link without a serial line (PPPoE) is no telephone line
    Write(proc + "/4321/cmdline", Argv({"/usr/sbin/pppd", "/dev/ttyUSB0", "115200"}));
    EXPECT_FALSE(monitor.serialLinkUp()); // the lock of another line
    Write(run + "/lock/LCK..ttyUSB0", "      9999\n");
    EXPECT_FALSE(monitor.serialLinkUp()); // someone else's lock
    QFile::remove(run + "/lock/LCK..ttyUSB0");
    Write(run + "/forged", "      4321\n");
    ASSERT_TRUE(QFile::link(run + "/forged", run + "/lock/LCK..ttyUSB0"));
    EXPECT_FALSE(monitor.serialLinkUp()); // a link to one that holds the pid
    QFile::remove(run + "/lock/LCK..ttyUSB0");
    Write(run + "/lock/LCK..ttyUSB0", "      4321\n");
    EXPECT_TRUE(monitor.serialLinkUp());

    monitor.poll();
    monitor.poll(); // no change, no event
    Write(net + "/ppp0/flags", "0x1090\n"); // interface down
    monitor.poll();
    ASSERT_EQ(events.size(), 2);
    EXPECT_NE(events[0].first, 0u);
    EXPECT_EQ(events, (QList<std::pair<quint32, quint32>>{{events[0].first, 0x100u}, {events[0].first, 1u}}));

    EXPECT_EQ(monitor.close(line), 0);
    EXPECT_EQ(monitor.shutdown(app), 0);
}
