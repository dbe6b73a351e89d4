#pragma once
// Whether a pppd's interface carries a connection. A pppd that dials on demand keeps its interface up,
// with the default route and its pid file, while the line is idle; only the serial lock it takes for
// the dial and drops at the hang-up tells a dialled line from an idle one.
#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <optional>

// The home folder of a user from the password database: empty when it names none, nothing when the
// database could not be asked.
std::optional<QString> UserHome(uint uid);

// Where pppd and the system keep what the phone book and the connected state read; tests point them at
// fixture trees.
struct PppdFiles {
    QString procDir = QStringLiteral("/proc");
    QString runDir = QStringLiteral("/run");
    QString lockDir = QStringLiteral("/run/lock");
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    QString options = QStringLiteral("/etc/ppp/options"); // a tty's own options file is this name, "." and the tty
    std::function<std::optional<QString>(uint uid)> homeOf = UserHome; // where the ~/.ppprc of pppd's user lies
    QString devDir = QStringLiteral("/dev"); // where a line pppd is given without a leading "/" lies
    QString papSecrets = QStringLiteral("/etc/ppp/pap-secrets");
    QString chapSecrets = QStringLiteral("/etc/ppp/chap-secrets");
    QString sysClassNet = QStringLiteral("/sys/class/net");
    QString pppd = QStringLiteral("/usr/sbin/pppd");
};

// The pid of the pppd behind a ppp interface: its unit pid file, else a link-name pid file that names
// the interface; 0 when there is none.
qint64 PppdPidOf(const QString& runDir, const QString& iface);

// What a pppd took from its options: its line by the name pppd gives it ("/dev/ttyS0" for "ttyS0"; empty
// for none), demand, lock, whether a PPPoE plugin carries the link, and the connect command it runs.
struct PppdOptions {
    QString device;
    QString connect;
    bool demand = false;
    bool lock = false;
    bool pppoe = false;
};

// pppd reads its options once, at its start, and so are they read here: once per pppd process, known by
// its pid and start time, so that no look reads the option files or asks the password database again; a
// change to them counts from the next pppd this cache sees. A read that could not ask the password database
// is not kept. The entries of processes that have ended are dropped whenever a new process is read.
class PppdOptionCache {
public:
    // Empty when no such process runs. Its options are read from every file pppd reads them from.
    std::optional<PppdOptions> of(const PppdFiles& files, qint64 pid);

private:
    struct Read {
        QByteArray start;
        PppdOptions options;
    };
    QHash<qint64, Read> m_read;
};

// Whether pid holds the lock of the serial line `device` in lockDir: the one name pppd locks it by, an
// ordinary file with one link, of the owner of the process's folder in procDir, read without following a
// link and only while it is short. No device, no lock.
bool SerialLockHeldBy(const QString& lockDir, const QString& device, qint64 pid, const QString& procDir);
// False only for a pppd in demand mode that locks its line and holds no lock now: its line is not
// dialled. Every other link (no pppd, no demand, no lock) counts as its interface says.
bool PppdLinkDialled(const PppdFiles& files, qint64 pid, PppdOptionCache& options);
// Whether the pppd holds the lock of the line its options name.
bool PppdLineLocked(const PppdFiles& files, qint64 pid, PppdOptionCache& options);
