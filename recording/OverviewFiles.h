#pragma once
// The overview page's own files and the texts it builds from others: Config/Overview.cfg with the last
// choices, Note.dat with the free note, an entry's tariff assignment and the shown price of a tariff.
#include "users/DialUpFiles.h" // an entry's tariff assignment

#include <QString>

// Config/Overview.cfg: entry, user, provider and tariff item, one per line.
struct OverviewChoices {
    bool exists = false;
    QString entry, user, provider, tariff;
};
OverviewChoices ReadOverviewChoices();
bool SaveOverviewChoices(const OverviewChoices& choices);


// The unit a tariff is priced per: "Minute", or the volume unit of a volume tariff ("1MB").
QString GetTarifUnit(const QString& tariffFile);
// The zone price in force now, in currency units: "0,019 € pro " and the unit.
QString TarifPriceText(const QString& tariffFile, const QString& unit);

// Note.dat: its lines joined by line breaks, every line kept (empty ones too), so that an unchanged
// note is written back byte for byte. The note shown uses "\n" between lines and NOTE_CR_SYMBOL for a CR
// inside a line, which the save writes as the CR again.
inline constexpr QChar NOTE_CR_SYMBOL = QChar(0x240D); // "␍"
QString LoadNoteText();
// Writes the note whole; the file is left as it was when the note holds a character the code page
// cannot hold or the file cannot be written.
enum class NoteSaved { Saved, NotInCodePage, Failed };
NoteSaved SaveNoteText(const QString& note);
// Whether every character of the note has a byte in the code page.
bool NoteFitsCodePage(const QString& note);

inline const QString NOTE_NOT_STORED = QStringLiteral(
    "Die Notiz enthält Zeichen, die nicht gespeichert werden können. Änderungen werden erst wieder "
    "gespeichert, wenn diese Zeichen entfernt sind.");
