#pragma once
// The tariff update check without its window: the update servers' lists, the state of the last update
// taken (Config/Update.cfg) and the line ends of downloaded files.
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

// Installation files, and the scratch copy of a server's list below the program folder.
inline const QString SERVERS_FILE = QStringLiteral("Servers.dat");
inline const QString REVISION_FILE = QStringLiteral("Revision.dat");
inline const QString UPDATE_LIST_FILE = QStringLiteral("update.txt");
inline const QString UPDATE_STATE_FILE = QStringLiteral("Config/Update.cfg");

inline const QString SERVERS_MISSING_TEXT =
    QStringLiteral("Kann die Datei 'Servers.dat' nicht finden. Diese ist nötig um Tarifupdates durchführen zu "
                   "können. Sie wird bei der Installation erstellt.");

// One tariff file a list offers: its path on the server and the name it is stored under in Tarife.
struct UpdateEntry {
    QString path;
    QString fileName;
};

// What one server's list holds for a user who last took update `lastTaken`.
struct UpdateListContent {
    bool valid = false;    // line 1 begins "*U*"; otherwise the list is ignored whole
    QString firstLine;     // carries the latest program revision from its fifth character
    qint32 updateNumber = 0; // the section looked for, then the number of each later section line
    QList<UpdateEntry> entries;
};

// "[0001]", "[0012]", "[12345]".
QString SectionLine(qint32 number);

// A name from a list becomes a file in Tarife only as a downloaded tariff that stays in that folder.
bool IsUpdateFileName(const QString& name);

// The entries of every section after the one the user last took.
UpdateListContent ParseUpdateList(const QStringList& lines, qint32 lastTaken);

// The user's own Servers.dat in the program folder when there is one, else the installation's.
QString ServersFilePath();

// True when the installation's Revision.dat names a lower program revision than line 1 of a server's list.
bool IsNewerRevision(const QString& listFirstLine);

// The number of the last update taken; 0 without Config/Update.cfg. Kept below the largest number so
// that the next one always fits.
qint32 LoadUpdateState();
// Config/Update.cfg: the update number in print form and today's date.
bool SaveUpdateState(qint32 updateNumber);

// Rewrites the file with CR LF after every line; CR LF, a lone CR and a lone LF each end a line.
// False, and the file as it was, when it cannot be read or written.
bool ConvertLineEnds(const QString& file);

// The outcome of asking the servers of Servers.dat one after the other.
struct UpdateWalk {
    bool serversFound = false; // Servers.dat exists
    bool serverReached = false; // at least one server's list could be downloaded
    qint32 updateNumber = 0;   // as the last list read left it
    QStringList urls;          // download address of each entry
    QStringList fileNames;     // its file name in Tarife, at the same index
};

// Asks each server for its list until one offers tariffs; later servers are not asked. Every list with a
// valid first line is passed to `revision` before its entries are read. update.txt is gone afterwards.
UpdateWalk WalkUpdateServers(qint32 updateNumber, const std::function<void(const QString&)>& revision);
