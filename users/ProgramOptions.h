#pragma once
// The options page's files: the program options Config/Options.cfg (six whole numbers) and the two list
// files of name and flag pairs, DialUp/Deny.sec (the allowed phone-book entries) and DialUp/General.prg or
// DialUp/<entry>.prg (the programs started on connect).
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Currency index, then the switches: same programs for all, tray when minimised, start minimised, start
// with the session, dialer protection.
inline constexpr int PROGRAM_OPTION_LINES = 6;

struct StoredOptions {
    bool exists = false;
    // Each line's whole number; none for a missing line or one that holds no whole number.
    std::array<std::optional<int>, PROGRAM_OPTION_LINES> lines;
};

QString ProgramOptionsPath(); // Config/Options.cfg
StoredOptions ReadProgramOptions();
bool WriteProgramOptions(const std::array<int, PROGRAM_OPTION_LINES>& values);

// One item of a list file: its text and whether it is ticked.
struct ListPair {
    QString text;
    bool ticked = false;
};

QString AllowListPath(); // DialUp/Deny.sec
// DialUp/General.prg for no entry, else DialUp/<entry>.prg; empty for an entry that is no safe file name.
QString ProgramListPath(const QString& entry);

// The pairs in file order; a flag line reading 1 ticks its item. A last line without its flag line is an
// unticked item. A missing file gives none.
QList<ListPair> ReadListPairs(const QString& path);
bool WriteListPairs(const QString& path, const QList<ListPair>& pairs);
// Whether every text can be stored in the code page of the list files.
bool ListPairsStorable(const QList<ListPair>& pairs);
