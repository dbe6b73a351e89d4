#pragma once
// The record dialogs' rules, apart from their widgets: how a field reads after it is left, which field
// stops a save, how the tariff file name is split and rebuilt, and the save itself.
#include <QString>

inline const QString NO_DIAL_ENTRY = QStringLiteral("Keine DFÜ Verbindung");
inline const QString HAND_ENTRY_SAVE_FAILED = QStringLiteral("Die Verbindungsdaten konnten nicht gespeichert werden.");

// The texts of the dialog's fields; the comment as the edit gives it (line breaks "\n").
struct HandEntryFields {
    QString date, start, duration, cost, units, bytesIn, bytesOut, bytesTotal;
    QString connection, provider, tarifItem, user, comment;
};

// A cost typed with "," or "." in the two-decimal form ("2.5" gives "2,50").
QString NormaliseHandCost(const QString& text);
// A count as its leading number in the plain form ("12 kB" gives "12").
QString NormaliseHandCount(const QString& text);
// The total of bytes received and sent, in the same form.
QString HandByteTotal(const QString& received, const QString& sent);

// The tariff file of a provider and an item of the tariff list: only items of the two kinds ("A - ...",
// "M - ...") name a file; empty otherwise.
QString HandEntryTariffFile(const QString& provider, const QString& item);
// The provider and the tariff item line 10 of a record shows; the item only for ".atl"/".tel" in exactly
// that case.
void SplitTariffFile(const QString& line10, QString* provider, QString* item);

// The message of the first field that stops a save; empty when the record can be written. A date or start
// that cannot be read stops it like an empty one: the file name is built from them.
QString HandEntryRefusal(const HandEntryFields& fields);

// Writes the record (twelve lines, the comment with CRLF breaks) under the name its date and start give.
// `oldName`, when given, is the record being edited: it is deleted only after the new one is written and
// only when the names differ without regard to case (a same-named file is rewritten in place). Returns
// the message to show, empty on success; nothing is changed on failure.
QString SaveHandEntry(const HandEntryFields& fields, const QString& oldName = QString());
