#include "core/platform/linux/LinuxPhoneBook.h"

#include "core/FileList.h"
#include "core/TextFile.h"
#include "core/platform/linux/LinuxTrafficCounters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// pppd's exit status when we failed to authenticate ourselves to the peer.
constexpr int PPPD_EXIT_AUTH_FAILED = 19;
constexpr qsizetype MAX_PASSWORD_BYTES = 4096;

QStringList fileLines(const QString& path)
{
    QByteArray bytes;
    ReadFileBytes(path, &bytes);
    return QString::fromUtf8(bytes).split('\n');
}

// The unit number of "ppp12", for ordering ppp2 before ppp10.
int unitOf(const QString& iface)
{
    bool ok = false;
    const int n = iface.mid(3).toInt(&ok);
    return ok ? n : INT_MAX;
}

const QRegularExpression& numberArgument()
{
    static const QRegularExpression re(QStringLiteral("(^|\\s)-T\\s*(\"[^\"]*\"|'[^']*'|\\S+)"));
    return re;
}

QString unquote(const QString& s)
{
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.mid(1, s.size() - 2);
    return s;
}

// The connect command runs through a shell: only the characters of a dial string may go into it.
bool isDialString(const QString& number)
{
    static const QRegularExpression re(QStringLiteral("^[0-9*#+,wWpPtT() -]+$"));
    return re.match(number).hasMatch();
}

// The number the connect command's chat dials (its -T argument); empty for none.
QString numberIn(const QString& connect)
{
    const QRegularExpressionMatch m = numberArgument().match(connect);
    return m.hasMatch() ? unquote(m.captured(2)) : QString();
}

bool defaultTerminate(qint64 pid)
{
    if (pid <= 1) return false;
    return ::kill(pid_t(pid), SIGTERM) == 0;
}

} // namespace

QStringList SplitOptionWords(const QByteArray& text)
{
    QStringList words;
    QByteArray word;
    bool inWord = false;
    char quote = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!inWord) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
            if (c == '#') {
                while (i < text.size() && text[i] != '\n') ++i;
                continue;
            }
            inWord = true;
            word.clear();
        }
        if (c == '\\' && i + 1 < text.size()) {
            const char n = text[++i];
            switch (n) {
            case 'n': word += '\n'; break;
            case 't': word += '\t'; break;
            case 'r': word += '\r'; break;
            case 's': word += ' '; break;
            case '\n': break; // a continued line
            default: word += n; break;
            }
            continue;
        }
        if (quote) {
            if (c == quote) quote = 0;
            else word += c;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            words << QString::fromUtf8(word);
            inWord = false;
            continue;
        }
        word += c;
    }
    if (inWord) words << QString::fromUtf8(word);
    return words;
}

PeerOptions ReadPeerOptions(const QString& path)
{
    PeerOptions p;
    QByteArray text;
    p.ok = ReadFileBytes(path, &text) == FileRead::Ok;
    const QStringList words = SplitOptionWords(text);
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        const QString next = words.value(i + 1);
        if (w == QLatin1String("user")) {
            p.user = next;
            ++i;
        } else if (w == QLatin1String("connect")) {
            p.connect = next;
            ++i;
        } else if (w == QLatin1String("plugin")) {
            if (next.contains(QLatin1String("pppoe"))) p.pppoe = true;
            ++i;
        } else if (p.device.isEmpty() && (w.startsWith(QLatin1String("/dev/")) || w.startsWith(QLatin1String("tty")))) {
            p.device = w;
        }
    }
    p.number = numberIn(p.connect);
    return p;
}

SavedPassword SecretsHoldPassword(const QStringList& secretsFiles, const QString& user)
{
    bool unreadable = false;
    for (const QString& path : secretsFiles) {
        QByteArray text;
        if (ReadFileBytes(path, &text) != FileRead::Ok) {
            // One that is there but unreadable, or behind a folder we may not search, may hold it.
            struct stat st {};
            unreadable = unreadable || ::stat(QFile::encodeName(path).constData(), &st) == 0 || errno == EACCES;
            continue;
        }
        if (user.isEmpty()) continue;
        for (const QByteArray& line : text.split('\n')) {
            const QStringList w = SplitOptionWords(line);
            if (w.size() >= 3 && w[0] == user && !w[2].isEmpty()) return SavedPassword::Yes;
        }
    }
    return unreadable ? SavedPassword::Unknown : SavedPassword::No;
}

bool IsValidEntryName(const QString& name)
{
    return !name.isEmpty() && !name.contains('/') && !name.contains(QLatin1String("..")) && !name.startsWith('.') &&
           !name.contains(QChar(0));
}

QString ConnectWithNumber(const QString& connect, const QString& number)
{
    const QRegularExpressionMatch m = numberArgument().match(connect);
    if (!m.hasMatch() || !isDialString(number)) return {};
    QString out = connect;
    out.replace(m.capturedStart(2), m.capturedLength(2), number);
    return out;
}

QStringList PppdArguments(const QString& entry, const QString& user, int passwordFd, const QString& connectOverride)
{
    // updetach: pppd stays in the foreground until the link is up, so its exit tells how the dial went,
    // and then goes on in the background on its own.
    QStringList args{QStringLiteral("call"), entry, QStringLiteral("updetach")};
    if (!user.isEmpty()) args << QStringLiteral("user") << user;
    if (passwordFd >= 0)
        args << QStringLiteral("plugin") << QStringLiteral("passwordfd.so") << QStringLiteral("passwordfd")
             << QString::number(passwordFd);
    if (!connectOverride.isEmpty()) args << QStringLiteral("connect") << connectOverride;
    return args;
}

LinuxPhoneBook::LinuxPhoneBook(const PppdFiles& paths, QObject* parent)
    : PhoneBook(parent), m_paths(paths), m_terminate(defaultTerminate)
{
    m_poll.setInterval(300);
    connect(&m_poll, &QTimer::timeout, this, &LinuxPhoneBook::pollDials);
}

LinuxPhoneBook::~LinuxPhoneBook()
{
    // A dial still in progress ends with the program; a link already up runs on in its own pppd.
    for (Dial& d : m_dials) {
        if (!d.process) continue;
        d.process->disconnect(this);
        d.process->kill();
        d.process->waitForFinished(1000);
        delete d.process;
    }
}

bool LinuxPhoneBook::isAvailable() const
{
    return QFileInfo(m_paths.pppd).isExecutable() && QFileInfo(m_paths.peersDir).isDir();
}

QList<RasEntryInfo> LinuxPhoneBook::entries(const QString&)
{
    QList<RasEntryInfo> out;
    for (const QString& name : ListFolder(m_paths.peersDir)) {
        if (!IsValidEntryName(name)) continue;
        RasEntryInfo e;
        e.szEntryName = name;
        e.szPhonebookPath = m_paths.peersDir;
        out << e;
    }
    return out;
}

QList<LinuxPhoneBook::Link> LinuxPhoneBook::scanLinks() const
{
    // The link-name pid files name their interface on their second line.
    QHash<QString, QString> entryOfIface;
    for (const QString& file : ListFolder(m_paths.runDir, QStringLiteral("ppp-*.pid"))) {
        const QString iface = fileLines(m_paths.runDir + "/" + file).value(1).trimmed();
        if (!iface.isEmpty()) entryOfIface.insert(iface, file.mid(4, file.size() - 8));
    }

    QList<Link> links;
    const QStringList names = QDir(m_paths.sysClassNet)
                                  .entryList(QStringList{QStringLiteral("ppp*")},
                                             QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& iface : names) {
        Link l;
        l.iface = iface;
        l.pid = PppdPidOf(m_paths.runDir, iface);
        l.entry = entryOfIface.value(iface);
        if (l.entry.isEmpty() && l.pid > 0) {
            // A pppd started without a link name: its command line names the peer it calls.
            QByteArray cmdline;
            ReadFileBytes(m_paths.procDir + "/" + QString::number(l.pid) + "/cmdline", &cmdline);
            const QList<QByteArray> argv = cmdline.split('\0');
            for (qsizetype i = 0; i + 1 < argv.size(); ++i)
                if (argv[i] == "call") l.entry = QString::fromUtf8(argv[i + 1]);
        }
        bool ok = false;
        l.ifindex = fileLines(m_paths.sysClassNet + "/" + iface + "/ifindex").value(0).trimmed().toInt();
        const QString flags = fileLines(m_paths.sysClassNet + "/" + iface + "/flags").value(0).trimmed();
        const uint value = flags.toUInt(&ok, 16);
        const bool ifaceUp = !ok || (value & 0x1); // IFF_UP; no flags file at all counts as up
        // A pppd dialling on demand keeps its interface up while its line is idle: that is no connection.
        const bool dialled = PppdLinkDialled(m_paths, l.pid, m_options);
        l.up = ifaceUp && dialled;
        l.waiting = ifaceUp && !dialled;
        links << l;
    }
    std::sort(links.begin(), links.end(), [](const Link& a, const Link& b) {
        return unitOf(a.iface) != unitOf(b.iface) ? unitOf(a.iface) < unitOf(b.iface) : a.iface < b.iface;
    });
    return links;
}

QList<LinuxPhoneBook::Link> LinuxPhoneBook::currentLinks()
{
    // A handle stands for one link. The interface index names one instance of the interface (pppd makes a
    // new one for every connection); its pid cannot, as pppd rewrites it when it goes to the background,
    // so it only stands in where the index cannot be read.
    const auto keyOf = [](const Link& l) {
        return l.ifindex > 0 ? l.iface + "#" + QString::number(l.ifindex) : l.iface + ":" + QString::number(l.pid);
    };
    QList<Link> links = scanLinks();
    QHash<QString, quint32> kept;
    QSet<QString> present;
    for (Link& l : links) {
        const QString key = keyOf(l);
        present.insert(key);
        const quint32 h = m_handles.value(key);
        // A link seen down has ended: up again, it is a new connection.
        if (h != 0 && (l.up || m_dials.contains(h))) {
            l.handle = h;
        } else if (h != 0) {
            Totals end;
            if (totalsOf(l.iface, &end)) m_endTotals.insert(key, end);
        }
        if (l.handle != 0) kept.insert(key, l.handle);
    }
    for (Link& l : links) {
        if (l.handle != 0) continue;
        for (auto d = m_dials.cbegin(); d != m_dials.cend() && l.handle == 0; ++d) {
            const qint64 pid = d->process ? d->process->processId() : 0;
            const bool ours = l.entry == d->entry || (pid != 0 && l.pid == pid);
            if (ours && !kept.values().contains(d.key())) l.handle = d.key();
        }
        if (l.handle == 0 && l.up) l.handle = m_nextHandle++;
        if (l.handle == 0) continue;
        // The interface's counters run on across connections: a later one counts from where the one
        // before ended (or, unseen, from where it was first seen), so no byte is billed twice.
        const QString key = keyOf(l);
        kept.insert(key, l.handle);
        Totals base;
        if (m_carried.contains(key) && (m_endTotals.contains(key) || totalsOf(l.iface, &base)))
            m_baselines.insert(l.handle, m_endTotals.value(key, base));
        m_carried.insert(key);
        m_endTotals.remove(key);
    }
    m_handles = kept; // a link that is gone takes its handle with it
    const QList<quint32> live = kept.values();
    for (auto it = m_baselines.begin(); it != m_baselines.end();)
        it = live.contains(it.key()) ? std::next(it) : m_baselines.erase(it);
    for (auto it = m_endTotals.begin(); it != m_endTotals.end();)
        it = present.contains(it.key()) ? std::next(it) : m_endTotals.erase(it);
    m_carried.intersect(present); // a link that is gone never comes back under its index
    return links;
}

bool LinuxPhoneBook::totalsOf(const QString& iface, Totals* totals) const
{
    return LinuxTrafficCounters(m_paths.sysClassNet).read(iface, &totals->received, &totals->sent);
}

void LinuxPhoneBook::byteBaseline(quint32 handle, quint64* received, quint64* sent)
{
    const Totals t = m_baselines.value(handle);
    *received = t.received;
    *sent = t.sent;
}

PeerOptions LinuxPhoneBook::linkOptions(const QString& entry, qint64 pid) const
{
    // A running pppd's options are read once, at the first look, from every file it read them from; only a
    // dial not yet running and a pppd that cannot be read fall back on the peer file.
    if (const std::optional<PppdOptions> running = m_options.of(m_paths, pid)) {
        PeerOptions p;
        p.ok = true;
        p.device = running->device;
        p.pppoe = running->pppoe;
        p.connect = running->connect;
        p.number = numberIn(p.connect);
        return p;
    }
    return IsValidEntryName(entry) ? ReadPeerOptions(peerPath(entry)) : PeerOptions();
}

void LinuxPhoneBook::fillDevice(const PeerOptions& peer, const QString& iface, QString& type, QString& name)
{
    if (peer.pppoe) type = QStringLiteral("PPPoE");
    else if (!peer.device.isEmpty()) type = QStringLiteral("modem");
    name = peer.device.isEmpty() ? iface : QFileInfo(peer.device).fileName();
}

QList<RasConnInfo> LinuxPhoneBook::connections()
{
    QList<RasConnInfo> out;
    for (const Link& l : currentLinks()) {
        if (!l.up) continue;
        RasConnInfo c;
        c.hrasconn = l.handle;
        c.szEntryName = l.entry;
        c.szPhonebook = m_paths.peersDir;
        fillDevice(linkOptions(l.entry, l.pid), l.iface, c.szDeviceType, c.szDeviceName);
        out << c;
    }
    return out;
}

quint32 LinuxPhoneBook::entryDialParams(const QString&, const QString& entryName, RasDialInfo& info,
                                        SavedPassword& passwordSaved)
{
    info = RasDialInfo{};
    info.szEntryName = entryName;
    passwordSaved = SavedPassword::No;
    if (!IsValidEntryName(entryName)) return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    const PeerOptions peer = ReadPeerOptions(peerPath(entryName));
    if (!peer.ok) return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    info.szUserName = peer.user;
    info.szPhoneNumber = peer.number;
    passwordSaved = SecretsHoldPassword({m_paths.papSecrets, m_paths.chapSecrets}, peer.user);
    return RAS_SUCCESS;
}

quint32 LinuxPhoneBook::dial(const QString&, const RasDialInfo& params, quint32& handle)
{
    handle = 0;
    const QString entry = params.szEntryName;
    if (!IsValidEntryName(entry)) return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    const PeerOptions peer = ReadPeerOptions(peerPath(entry));
    if (!peer.ok) return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    for (const Dial& d : m_dials)
        if (d.entry == entry) return ERROR_PORT_NOT_AVAILABLE; // the handle is left 0: that dial goes on
    const QList<Link> links = currentLinks();
    for (const Link& l : links) {
        if (!l.up || l.entry != entry) continue;
        // Already connected: this is the connection asked for, as a second dial of a connected entry is.
        const quint32 h = l.handle;
        handle = h;
        QTimer::singleShot(0, this, [this, h] { emit dialEvent(h, RASCS_Connected, 0); });
        return RAS_SUCCESS;
    }
    for (const Link& l : links)
        if (l.waiting && l.entry == entry) return ERROR_PORT_NOT_AVAILABLE; // its pppd dials it on traffic

    const QString number = params.szPhoneNumber.trimmed();
    const QString connectOverride =
        !number.isEmpty() && number != peer.number ? ConnectWithNumber(peer.connect, number) : QString();

    // The password goes through a pipe that only pppd inherits, never onto its command line.
    int fds[2] = {-1, -1};
    const QByteArray secret = params.szPassword.toUtf8();
    if (!secret.isEmpty()) {
        // The pipe is filled before pppd starts: a password larger than the smallest pipe would block here.
        if (secret.size() > MAX_PASSWORD_BYTES) return ERROR_PORT_NOT_AVAILABLE;
        if (::pipe2(fds, O_CLOEXEC) != 0) return ERROR_PORT_NOT_AVAILABLE;
        qsizetype written = 0;
        while (written < secret.size()) {
            const ssize_t n = ::write(fds[1], secret.constData() + written, size_t(secret.size() - written));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            written += n;
        }
        ::close(fds[1]);
        if (written != secret.size()) {
            ::close(fds[0]);
            return ERROR_PORT_NOT_AVAILABLE;
        }
    }
    const int readFd = fds[0];

    auto* process = new QProcess(this);
    process->setProgram(m_paths.pppd);
    process->setArguments(PppdArguments(entry, params.szUserName, readFd, connectOverride));
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->setChildProcessModifier([readFd] {
        if (readFd >= 0) ::fcntl(readFd, F_SETFD, 0); // let this one descriptor through exec
    });
    process->start();
    const bool started = process->waitForStarted(5000);
    if (readFd >= 0) ::close(readFd);
    if (!started) {
        delete process;
        return ERROR_PORT_NOT_AVAILABLE;
    }

    const quint32 h = m_nextHandle++;
    Dial d;
    d.entry = entry;
    d.process = process;
    m_dials.insert(h, d);
    handle = h;
    connect(process, &QProcess::finished, this, [this, h](int exitCode, QProcess::ExitStatus status) {
        dialFinished(h, exitCode, status == QProcess::CrashExit);
    });
    QTimer::singleShot(0, this, [this, h] {
        if (m_dials.contains(h)) emit dialEvent(h, RASCS_OpenPort, 0);
    });
    m_poll.start();
    return RAS_SUCCESS;
}

void LinuxPhoneBook::pollDials()
{
    if (m_dials.isEmpty()) {
        m_poll.stop();
        return;
    }
    for (const Link& l : currentLinks()) {
        const auto it = m_dials.find(l.handle);
        if (it == m_dials.end()) continue;
        // The ppp unit exists once the modem has connected; it is set up when the network layer is.
        if (l.up) {
            finishDial(l.handle, RASCS_Connected, 0);
        } else if (!it->deviceReported) {
            it->deviceReported = true;
            it->state = RASCS_DeviceConnected;
            emit dialEvent(l.handle, RASCS_DeviceConnected, 0);
        }
    }
}

void LinuxPhoneBook::dialFinished(quint32 handle, int exitCode, bool crashed)
{
    if (!m_dials.contains(handle)) return;
    if (!crashed && exitCode == 0) {
        currentLinks(); // the link pppd left up keeps the dial's handle
        finishDial(handle, RASCS_Connected, 0);
    }
    else if (!crashed && exitCode == PPPD_EXIT_AUTH_FAILED)
        finishDial(handle, RASCS_AuthNotify, ERROR_AUTHENTICATION_FAILURE);
    else finishDial(handle, RASCS_Disconnected, ERROR_PORT_DISCONNECTED);
}

void LinuxPhoneBook::finishDial(quint32 handle, quint32 state, quint32 error)
{
    const auto it = m_dials.find(handle);
    if (it == m_dials.end()) return;
    QProcess* process = it->process;
    m_dials.erase(it);
    if (process) {
        // A pppd kept in the foreground by its peer file ("nodetach") goes on carrying the link.
        if (process->state() == QProcess::NotRunning) process->deleteLater();
        else connect(process, &QProcess::finished, process, &QObject::deleteLater);
        process->disconnect(this);
    }
    if (m_dials.isEmpty()) m_poll.stop();
    emit dialEvent(handle, state, error);
}

quint32 LinuxPhoneBook::hangUp(quint32 handle)
{
    if (handle == 0) return ERROR_INVALID_HANDLE;
    bool known = false;
    bool ok = true;
    const auto it = m_dials.find(handle);
    if (it != m_dials.end() && it->process && it->process->state() != QProcess::NotRunning) {
        it->process->terminate();
        known = true;
    }
    for (const Link& l : currentLinks()) {
        if (l.handle != handle) continue;
        known = true;
        if (l.pid > 0 && !(it != m_dials.end() && it->process && it->process->processId() == l.pid))
            ok = m_terminate(l.pid) && ok;
        else if (l.pid <= 0)
            ok = false; // nothing we could end
    }
    if (!known) return ERROR_INVALID_HANDLE;
    return ok ? RAS_SUCCESS : ERROR_ACCESS_DENIED;
}

quint32 LinuxPhoneBook::connectStatus(quint32 handle, RasStatusInfo& status)
{
    status = RasStatusInfo{};
    if (handle == 0) return ERROR_INVALID_HANDLE;
    const auto dial = m_dials.constFind(handle);
    if (dial != m_dials.constEnd()) {
        status.rasconnstate = dial->state;
        const PeerOptions peer = linkOptions(dial->entry, 0);
        fillDevice(peer, QString(), status.szDeviceType, status.szDeviceName);
        status.szPhoneNumber = peer.number;
        return RAS_SUCCESS;
    }
    for (const Link& l : currentLinks()) {
        if (!l.up || l.handle != handle) continue;
        status.rasconnstate = RASCS_Connected;
        const PeerOptions peer = linkOptions(l.entry, l.pid);
        fillDevice(peer, l.iface, status.szDeviceType, status.szDeviceName);
        status.szPhoneNumber = peer.number;
        return RAS_SUCCESS;
    }
    return ERROR_INVALID_HANDLE;
}

QString LinuxPhoneBook::interfaceName(quint32 handle)
{
    if (handle == 0) return {};
    for (const Link& l : currentLinks())
        if (l.up && l.handle == handle) return l.iface;
    return {};
}
