#pragma once
// The phone book on Linux: the entries are pppd's peer files, a dial is `pppd call <entry>`, the
// active connections are the ppp interfaces with pppd's pid files beside them (a pppd that dials on
// demand: only while its line is dialled).
#include "core/platform/PhoneBook.h"
#include "core/platform/linux/PppdLink.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <functional>

class QProcess;

// What the program takes from a peer file.
struct PeerOptions {
    bool ok = false;  // the file could be read
    QString user;     // the `user` option
    QString number;   // the number the connect script dials (chat's -T argument)
    QString device;   // the serial device, e.g. "/dev/ttyUSB0"
    QString connect;  // the `connect` option's command
    bool pppoe = false;
};

// pppd's option words: blanks separate, "#" starts a comment, quotes and backslashes as pppd reads them.
QStringList SplitOptionWords(const QByteArray& text);
PeerOptions ReadPeerOptions(const QString& path);
// Yes when one of the secrets files can be read and holds a non-empty secret for `user`; else Unknown
// when one of them exists but cannot be read (pppd's are root's alone), else No.
SavedPassword SecretsHoldPassword(const QStringList& secretsFiles, const QString& user);
// A peer name pppd may be asked to call: not empty, no "/", no "..", not hidden.
bool IsValidEntryName(const QString& name);
// The connect command with chat's -T argument replaced by `number`; empty when it names no number.
QString ConnectWithNumber(const QString& connect, const QString& number);
// pppd's arguments for a dial. The password never appears here: pppd reads it from passwordFd
// (-1 = no password given, pppd takes it from its secrets).
QStringList PppdArguments(const QString& entry, const QString& user, int passwordFd,
                          const QString& connectOverride = QString());

class LinuxPhoneBook : public PhoneBook {
    Q_OBJECT
public:
    explicit LinuxPhoneBook(const PppdFiles& paths = PppdFiles(), QObject* parent = nullptr);
    ~LinuxPhoneBook() override;

    bool isAvailable() const override;
    QList<RasEntryInfo> entries(const QString& phonebook) override;
    QList<RasConnInfo> connections() override;
    quint32 entryDialParams(const QString& phonebook, const QString& entryName, RasDialInfo& info,
                            SavedPassword& passwordSaved) override;
    quint32 dial(const QString& phonebook, const RasDialInfo& params, quint32& handle) override;
    quint32 hangUp(quint32 handle) override;
    quint32 connectStatus(quint32 handle, RasStatusInfo& status) override;
    QString interfaceName(quint32 handle) override;
    void byteBaseline(quint32 handle, quint64* received, quint64* sent) override;
    // Peer files belong to the administrator: the program has no dialog for them.
    quint32 createEntry() override { return ERROR_CALL_NOT_IMPLEMENTED; }
    quint32 editEntry(const QString&) override { return ERROR_CALL_NOT_IMPLEMENTED; }

    // Ends a pppd by its pid; SIGTERM unless a test replaces it. True on success.
    void setTerminator(std::function<bool(qint64 pid)> terminate) { m_terminate = std::move(terminate); }

private:
    struct Link {
        QString iface;
        QString entry;
        qint64 pid = 0;
        int ifindex = 0; // 0 where it cannot be read
        bool up = false; // carries a connection
        bool waiting = false; // up, but its pppd dials on demand and the line is idle
        quint32 handle = 0; // 0 for a link that is not a connection
    };
    struct Dial {
        QString entry;
        QProcess* process = nullptr;
        quint32 state = RASCS_OpenPort;
        bool deviceReported = false;
    };

    QList<Link> scanLinks() const;
    QList<Link> currentLinks(); // scanLinks with their handles

    PeerOptions linkOptions(const QString& entry, qint64 pid) const;
    static void fillDevice(const PeerOptions& peer, const QString& iface, QString& type, QString& name);
    void pollDials();
    void dialFinished(quint32 handle, int exitCode, bool crashed);
    void finishDial(quint32 handle, quint32 state, quint32 error);
    QString peerPath(const QString& entry) const { return m_paths.peersDir + "/" + entry; }

    PppdFiles m_paths;
    mutable PppdOptionCache m_options; // read while looking at the links
    std::function<bool(qint64)> m_terminate;
    QHash<QString, quint32> m_handles; // link -> handle
    struct Totals {
        quint64 received = 0, sent = 0;
    };
    bool totalsOf(const QString& iface, Totals* totals) const;
    QSet<QString> m_carried;            // links that have carried a connection
    QHash<QString, Totals> m_endTotals; // link -> its totals when its last connection ended
    QHash<quint32, Totals> m_baselines; // handle -> the totals its own count starts from
    quint32 m_nextHandle = 1;
    QHash<quint32, Dial> m_dials;
    QTimer m_poll;
};
