#pragma once
// The tariff browser's content without its widgets: the providers of the folder Tarife with their tariffs,
// the details of one tariff as its labels show them, and the automatic update settings.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct TarifTreeRow {
    QString tariff;  // the tariff name
    bool downloaded; // .atl, else .tel
    QString fileName() const;
    QString provider;
};

struct TarifTreeProvider {
    QString name;
    QList<TarifTreeRow> tariffs; // hand-made first, then downloaded, each in folder order
};

struct TarifTree {
    QList<TarifTreeProvider> providers; // in the order the folder first yields them
    int count = 0;                      // tariff rows
};

// From the names of one folder listing. Any name with " -" adds its provider, whatever its ending,
// except the leftover of an interrupted write ("X - y.tel.AbCdEf").
TarifTree BuildTarifTree(const QStringList& folderNames);
TarifTree BuildTarifTree(); // from Tarife

// "<n> Tarife insgesamt."
QString TarifCountText(int count);

// What the detail labels show for one tariff file: lblTarif 0 to 12, none where the file lacks the key
// (that label keeps its text), and whether it is a volume tariff (none when the file does not say).
struct TarifDetails {
    std::optional<QString> lblTarif[13];
    std::optional<bool> volume;
};
// Nothing when the file is gone or unreadable.
std::optional<TarifDetails> ReadTarifDetails(const QString& fileName);

// Config/Autoupdate.cfg.
struct AutoupdateSettings {
    bool on = false;
    int interval = 0; // list index: 0 = 7, 1 = 14, 2 = 30 days
};
AutoupdateSettings LoadAutoupdateSettings(); // a missing file: off, 7 days
// Both lines in print form; no selected interval (-1) is written as 7. False when it cannot be written.
bool SaveAutoupdateSettings(bool on, int interval);
