#pragma once
// The transferred-byte counters of the recorded connection: G_BytesIn/Out/Total and G_RateIn/Out/Total.
#include <QString>
#include <QtGlobal>

#include <functional>

// The network interface that carries a phone-book connection; empty when it has none.
using ConnectionInterfaceFn = std::function<QString(quint32 hRasConn)>;
// By default the phone book names the interface; tests may put another resolver in its place.
void SetConnectionInterfaceResolver(ConnectionInterfaceFn resolver);
QString ConnectionInterface(quint32 hRasConn);

// Called when a recording starts: the next read is the new recording's first, so its rates start at 0
// instead of being measured against the previous recording's totals. False when no counters exist.
bool InitRasCounters();

// Refreshes the six counters from the totals of the connection's interface (called once a second, so
// the differences read as bytes per second). With no connection (0) the totals are 0. A failed read
// keeps the last totals with rates of 0; a total that went back (a new link) starts again from there.
void UpdateTrafficCounters(const QString& winver, quint32 hRasConn);
