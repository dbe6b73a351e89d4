#include "core/platform/sim/SimPhoneBook.h"

#include <QTimer>

QList<RasEntryInfo> SimPhoneBook::entries(const QString&) { return entryList; }

QList<RasConnInfo> SimPhoneBook::connections() { return connectionList; }

quint32 SimPhoneBook::entryDialParams(const QString&, const QString& entryName, RasDialInfo& info,
                                      SavedPassword& passwordSaved)
{
    passwordSaved = SavedPassword::No;
    info = RasDialInfo{};
    info.szEntryName = entryName;
    const auto it = entryData.constFind(entryName);
    if (it == entryData.constEnd()) return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    info = it->info;
    info.szEntryName = entryName;
    passwordSaved = it->passwordSaved;
    return it->result;
}

quint32 SimPhoneBook::dial(const QString& phonebook, const RasDialInfo& params, quint32& handle)
{
    dialCalls << params;
    dialPhonebooks << phonebook;
    handle = nextHandle++;
    if (dialResult != RAS_SUCCESS) return dialResult;
    m_dialing.insert(handle, RASCS_OpenPort);
    int delay = 0;
    for (quint32 state : statesAfterDial)
        QTimer::singleShot(delay++, this, [this, handle, state] { sendEvent(handle, state); });
    return RAS_SUCCESS;
}

quint32 SimPhoneBook::hangUp(quint32 handle)
{
    hangUpCalls << handle;
    bool known = m_dialing.contains(handle);
    for (const RasConnInfo& c : connectionList)
        if (c.hrasconn == handle) known = true;
    if (!known) return ERROR_INVALID_HANDLE;
    if (hangUpRefusals.contains(handle)) return hangUpRefusals.value(handle);
    const int polls = pollsUntilGoneFor.value(handle, pollsUntilGone);
    if (polls == 0) remove(handle);
    else m_goingAway.insert(handle, polls);
    return RAS_SUCCESS;
}

quint32 SimPhoneBook::connectStatus(quint32 handle, RasStatusInfo& status)
{
    ++statusQueries;
    auto going = m_goingAway.find(handle);
    if (going != m_goingAway.end() && *going > 0 && --*going == 0) remove(handle);
    status = RasStatusInfo{};
    if (m_dialing.contains(handle)) {
        status.rasconnstate = m_dialing.value(handle);
        return RAS_SUCCESS;
    }
    for (const RasConnInfo& c : connectionList) {
        if (c.hrasconn != handle) continue;
        status.rasconnstate = RASCS_Connected;
        status.szDeviceType = c.szDeviceType;
        status.szDeviceName = c.szDeviceName;
        return RAS_SUCCESS;
    }
    return ERROR_INVALID_HANDLE;
}

quint32 SimPhoneBook::createEntry()
{
    entryDialogs << QStringLiteral("create");
    if (duringEntryDialog) duringEntryDialog();
    return entryDialogResult;
}

quint32 SimPhoneBook::editEntry(const QString& entryName)
{
    entryDialogs << QStringLiteral("edit ") + entryName;
    if (duringEntryDialog) duringEntryDialog();
    return entryDialogResult;
}

QString SimPhoneBook::interfaceName(quint32 handle) { return interfaces.value(handle); }

void SimPhoneBook::addEntry(const QString& name, const RasDialInfo& info, bool passwordSaved)
{
    RasEntryInfo e;
    e.szEntryName = name;
    entryList << e;
    entryData.insert(name, EntryData{info, passwordSaved ? SavedPassword::Yes : SavedPassword::No, RAS_SUCCESS});
}

RasConnInfo& SimPhoneBook::addConnection(quint32 handle, const QString& entryName, const QString& interfaceName)
{
    RasConnInfo c;
    c.hrasconn = handle;
    c.szEntryName = entryName;
    c.szDeviceType = QStringLiteral("modem");
    c.szDeviceName = QStringLiteral("Simuliertes Modem");
    connectionList << c;
    if (!interfaceName.isEmpty()) interfaces.insert(handle, interfaceName);
    return connectionList.last();
}

quint32 SimPhoneBook::reconnect(quint32 handle)
{
    for (const RasConnInfo& c : connectionList) {
        if (c.hrasconn != handle) continue;
        RasConnInfo again = c;
        const QString iface = interfaces.value(handle);
        remove(handle);
        again.hrasconn = nextHandle++;
        connectionList << again;
        if (!iface.isEmpty()) interfaces.insert(again.hrasconn, iface);
        return again.hrasconn;
    }
    return 0;
}

void SimPhoneBook::sendEvent(quint32 handle, quint32 state, quint32 error)
{
    if (m_dialing.contains(handle)) {
        if (state == RASCS_Connected) {
            m_dialing.remove(handle);
            const QString entry = dialCalls.isEmpty() ? QString() : dialCalls.last().szEntryName;
            addConnection(handle, entry);
        } else if (state == RASCS_Disconnected || state == RASCS_AuthNotify) {
            m_dialing.remove(handle);
        } else {
            m_dialing[handle] = state;
        }
    }
    emit dialEvent(handle, state, error);
}

void SimPhoneBook::remove(quint32 handle)
{
    m_dialing.remove(handle);
    m_goingAway.remove(handle);
    interfaces.remove(handle);
    for (qsizetype i = connectionList.size() - 1; i >= 0; --i)
        if (connectionList[i].hrasconn == handle) connectionList.removeAt(i);
}
