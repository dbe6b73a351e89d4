#pragma once
// Whether a pppd's interface carries a connection. A pppd that dials on demand keeps its interface up,
// with the default route and its pid file, while the line is idle; only the serial lock it takes for
// the dial and drops at the hang-up tells a dialled line from an idle one.
#include <QString>

#include <functional>

// The home folder of a user from the password database; empty when it names none.
QString UserHome(uint uid);

// Where pppd and the system keep what the phone book and the connected state read; tests point them at
// fixture trees.
struct PppdFiles {
    QString procDir = QStringLiteral("/proc");
    QString runDir = QStringLiteral("/run");
    QString lockDir = QStringLiteral("/run/lock");
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    QString options = QStringLiteral("/etc/ppp/options"); // a tty's own options file is this name, "." and the tty
    std::function<QString(uint uid)> homeOf = UserHome;   // where the ~/.ppprc of pppd's user lies
    QString papSecrets = QStringLiteral("/etc/ppp/pap-secrets");
    QString chapSecrets = QStringLiteral("/etc/ppp/chap-secrets");
    QString sysClassNet = QStringLiteral("/sys/class/net");
    QString pppd = QStringLiteral("/usr/sbin/pppd");
};

// The pid of the pppd behind a ppp interface: its unit pid file, else a link-name pid file that names
// the interface; 0 when there is none.
qint64 PppdPidOf(const QString& runDir, const QString& iface);
// Whether a serial lock file in lockDir holds pid: an ordinary file of the owner of the process's folder
// in procDir, read without following a link and only while it is short.
bool SerialLockHeldBy(const QString& lockDir, qint64 pid, const QString& procDir);
// False only for a pppd in demand mode that locks its line and holds no lock now: its line is not
// dialled. Every other link (no pppd, no demand, no lock) counts as its interface says. Its options are
// read from every file pppd reads them from.
bool PppdLinkDialled(const PppdFiles& files, qint64 pid);
