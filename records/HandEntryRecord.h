#pragma once
// The record dialogs' rules, apart from their widgets: how a field reads after it is left, which field
// stops a save, how the tariff file name is split and rebuilt, and the save itself.
#include "core/NumberRange.h"

#include <QString>

inline const QString NO_DIAL_ENTRY = QStringLiteral("Keine DFÜ Verbindung");
inline const QString HAND_ENTRY_SAVE_FAILED = QStringLiteral("Die Verbindungsdaten konnten nicht gespeichert werden.");

// The texts of the dialog's fields; the comment as the edit gives it (line breaks "\n").
struct HandEntryFields {
    QString date, start, duration, cost, units, bytesIn, bytesOut, bytesTotal;
    QString connection, provider, tarifItem, user, comment;
};

// What a left field, Text1(0) to Text1(7), shows: the date, start and duration normalised, the cost typed
// with "," or "." in the two-decimal form ("2.5" gives "2,50"), a count as the whole part of its leading
// number ("12 kB" gives "12"). The duration, the cost (a credit may be negative) and the counts are refused
// outside their ranges.
CheckedInput LeaveHandField(int index, const QString& typed);
// The total of bytes received and sent as a count; refused when a part or the total lies outside the range.
CheckedInput HandByteTotal(const QString& received, const QString& sent);

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
