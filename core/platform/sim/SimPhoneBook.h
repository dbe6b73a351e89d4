#pragma once
// A phone book driven by the tests: entries, connections and dial answers are set directly, dial
// progress is sent by the test, and every call is recorded.
#include "core/platform/PhoneBook.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>

class SimPhoneBook : public PhoneBook {
    Q_OBJECT
public:
    using PhoneBook::PhoneBook;

    bool isAvailable() const override { return available; }
    QList<RasEntryInfo> entries(const QString& phonebook) override;
    QList<RasConnInfo> connections() override;
    quint32 entryDialParams(const QString& phonebook, const QString& entryName, RasDialInfo& info,
                            SavedPassword& passwordSaved) override;
    quint32 dial(const QString& phonebook, const RasDialInfo& params, quint32& handle) override;
    quint32 hangUp(quint32 handle) override;
    quint32 connectStatus(quint32 handle, RasStatusInfo& status) override;
    QString interfaceName(quint32 handle) override;
    void byteBaseline(quint32 handle, quint64* received, quint64* sent) override
    {
        *received = baselines.value(handle).first;
        *sent = baselines.value(handle).second;
    }
    quint32 createEntry() override;
    quint32 editEntry(const QString& entryName) override;

    // Script.
    struct EntryData {
        RasDialInfo info;
        SavedPassword passwordSaved = SavedPassword::No;
        quint32 result = RAS_SUCCESS;
    };
    void addEntry(const QString& name, const RasDialInfo& info = {}, bool passwordSaved = false);
    RasConnInfo& addConnection(quint32 handle, const QString& entryName, const QString& interfaceName = {});
    // The connection's link drops and comes up again: the same entry and interface under a new handle
    // (returned; 0 for an unknown one), and the old handle is gone.
    quint32 reconnect(quint32 handle);
    // Sends a progress event now; Connected makes the dialled connection active, Disconnected and
    // AuthNotify end the dial.
    void sendEvent(quint32 handle, quint32 state, quint32 error = 0);

    bool available = true;
    QList<RasEntryInfo> entryList;
    QList<RasConnInfo> connectionList;
    QHash<QString, EntryData> entryData;
    QHash<quint32, QString> interfaces;
    QHash<quint32, QPair<quint64, quint64>> baselines; // handle -> received and sent where its count begins
    quint32 dialResult = RAS_SUCCESS; // the answer of dial()
    quint32 entryDialogResult = RAS_SUCCESS; // the answer of createEntry() and editEntry()
    std::function<void()> duringEntryDialog;  // what the user does in the dialog
    quint32 nextHandle = 0x100;
    QList<quint32> statesAfterDial; // sent one by one from the event loop once a dial has started
    // Status queries after a hang-up until the connection is gone: 0 at once, -1 never.
    int pollsUntilGone = 0;
    QHash<quint32, int> pollsUntilGoneFor; // the same for one handle
    QHash<quint32, quint32> hangUpRefusals; // handle -> the error its hang-up answers; it stays up

    // Record.
    QList<RasDialInfo> dialCalls;
    QStringList dialPhonebooks;
    QList<quint32> hangUpCalls;
    QStringList entryDialogs; // "create", or "edit " and the entry's name
    int statusQueries = 0;

private:
    void remove(quint32 handle);
    QHash<quint32, quint32> m_dialing; // handle -> last state
    QHash<quint32, int> m_goingAway;   // handle -> status queries left
};
