#pragma once
// The files of the dial-up settings, below DialUp: DialUp.cfg (whose data a dial uses), an entry's own
// dial data <entry>.dat (number, then "U" + user and "P" + password, each enciphered) and its tariff
// assignment <entry>.trf (provider, tariff item).
#include <QString>
#include <optional>

inline const QString NO_TARIFF_ASSIGNMENT = QStringLiteral("[Keine Zuordnung]");

// Whether DialUp.cfg says to dial with the system's data: true without the file, nothing when its line
// is no Boolean value.
std::optional<bool> ReadDialUpConfig();
bool SaveDialUpConfig(bool systemData);

struct EntryCredentials {
    QString number, user, password;
};
// False when the entry has no data file (or its name cannot be a file name).
bool ReadEntryCredentials(const QString& entry, EntryCredentials* data);
enum class EntrySaved { Saved, NotInCodePage, Failed };
// Writes the file whole; it is left as it was when a value holds a character outside the code page.
EntrySaved SaveEntryCredentials(const QString& entry, const EntryCredentials& data);

// DialUp/<entry>.trf: provider and tariff item; false when the entry has no such file.
bool ReadEntryTarif(const QString& entry, QString* provider, QString* item);
bool SaveEntryTarif(const QString& entry, const QString& provider, const QString& item);
