#pragma once
// The phone book of dial-up entries: listing entries and active connections, dialling with progress
// events, hang-up and connection state. The records are handed over as they are; results are the
// remote-access error numbers the callers test, 0 meaning success.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

struct RasConnInfo {
    quint32 hrasconn = 0;
    QString szEntryName;
    QString szDeviceType;
    QString szDeviceName;
    QString szPhonebook;
    quint32 dwSubEntry = 0;
    QByteArray guidEntry; // 16 bytes where known, else empty
};

struct RasEntryInfo {
    QString szEntryName;
    quint16 dwFlags = 0;
    QString szPhonebookPath;
};

struct RasDialInfo {
    QString szEntryName;
    QString szPhoneNumber;
    QString szCallbackNumber;
    QString szUserName;
    QString szPassword;
    QString szDomain;
    quint32 dwSubEntry = 0;
    quint32 dwCallbackId = 0;
};

struct RasStatusInfo {
    quint32 rasconnstate = 0;
    quint32 dwError = 0;
    QString szDeviceType;
    QString szDeviceName;
    QString szPhoneNumber;
};

// Error numbers.
constexpr quint32 RAS_SUCCESS = 0;
constexpr quint32 ERROR_ACCESS_DENIED = 5;
constexpr quint32 ERROR_INVALID_HANDLE = 6;
constexpr quint32 ERROR_CALL_NOT_IMPLEMENTED = 120; // the system has no dialog for that
constexpr quint32 ERROR_CANNOT_OPEN_PHONEBOOK = 621;
constexpr quint32 ERROR_CANNOT_FIND_PHONEBOOK_ENTRY = 623;
constexpr quint32 ERROR_PORT_DISCONNECTED = 628;
constexpr quint32 ERROR_PORT_NOT_AVAILABLE = 633;
constexpr quint32 ERROR_AUTHENTICATION_FAILURE = 691;

// Whether the system holds an entry's password. Unknown where its store cannot be read by the user:
// pppd reads its secrets as root.
enum class SavedPassword { No, Yes, Unknown };

// Connection states of the dial progress.
enum RasConnState : quint32 {
    RASCS_OpenPort = 0,
    RASCS_PortOpened = 1,
    RASCS_ConnectDevice = 2,
    RASCS_DeviceConnected = 3,
    RASCS_AllDevicesConnected = 4,
    RASCS_Authenticate = 5,
    RASCS_AuthNotify = 6,
    RASCS_Authenticated = 14,
    RASCS_WaitForModemReset = 16,
    RASCS_LogonNetwork = 21,
    RASCS_PasswordExpired = 0x1003,
    RASCS_Connected = 0x2000,
    RASCS_Disconnected = 0x2001,
};

class PhoneBook : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~PhoneBook() override = default;

    // Whether dialling and listing work on this machine at all.
    virtual bool isAvailable() const = 0;

    // The phone-book entries; an empty phonebook means the default one.
    virtual QList<RasEntryInfo> entries(const QString& phonebook) = 0;
    // The active connections, the most recent last.
    virtual QList<RasConnInfo> connections() = 0;

    // The dial data kept for the entry (name, number, user; password only where it can be read);
    // passwordSaved tells whether the system holds a password for it.
    virtual quint32 entryDialParams(const QString& phonebook, const QString& entryName, RasDialInfo& info,
                                    SavedPassword& passwordSaved) = 0;

    // Starts dialling and returns at once; progress arrives as dialEvent. `handle` receives the
    // connection's handle also when the result is an error (it is then to be hung up).
    virtual quint32 dial(const QString& phonebook, const RasDialInfo& params, quint32& handle) = 0;
    virtual quint32 hangUp(quint32 handle) = 0;
    // ERROR_INVALID_HANDLE once the connection is gone.
    virtual quint32 connectStatus(quint32 handle, RasStatusInfo& status) = 0;

    // The system's dialogs for a new entry and for editing one, in the default phone book; 0 when an
    // entry may have been added or changed.
    virtual quint32 createEntry() = 0;
    virtual quint32 editEntry(const QString& entryName) = 0;

    // The network interface carrying the connection ("ppp0"), empty when none; the byte counters read it.
    virtual QString interfaceName(quint32 handle) = 0;
    // The interface's byte totals at which the connection's own count begins. An interface that carried an
    // earlier connection keeps counting across the two; one made for this connection starts at 0.
    virtual void byteBaseline(quint32 handle, quint64* received, quint64* sent)
    {
        Q_UNUSED(handle);
        *received = *sent = 0;
    }

signals:
    void dialEvent(quint32 handle, quint32 state, quint32 error);
};

// The phone book every routine uses; the Linux one unless a test installed another. nullptr restores
// the default; the caller keeps ownership.
PhoneBook& ThePhoneBook();
void SetPhoneBook(PhoneBook* book);
