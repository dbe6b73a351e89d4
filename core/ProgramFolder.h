#pragma once
#include <QProcessEnvironment>
#include <QString>

// The folder below which every data and settings file lives: the user's data folder, never the
// executable's (a build tree is deleted by a clean build, and /usr/bin is no place for records).
QString ProgramFolder();
void SetProgramFolder(const QString& folder); // tests point it at a temporary folder

// The program folder, created (mode 0700) when missing but given nothing yet: a start locks it before
// ProgramFolder() copies the installation's files into it.
QString CreateProgramFolder();

// The path of a file or folder below the program folder, given with '/' ("Config/Options.cfg").
// Each component that already exists in another letter case is taken as it exists, so no second
// file differing only in case is ever created.
QString ProgramPath(const QString& relative);

// The folder the installation's own files ship in (Revision.dat, Servers.dat, Tarife, Sounds).
QString InstallationFolder();
void SetInstallationFolder(const QString& folder); // tests
QString InstallationPath(const QString& relative);

// The program folder when $ZUMBREL_FOLDER chose it, else empty: what a later start needs to be told.
QString ChosenProgramFolder();

// $ZUMBREL_FOLDER when set, else Zumbrel in the XDG data folder ($XDG_DATA_HOME, ~/.local/share).
QString DataFolderFor(const QProcessEnvironment& env);
// The executable's folder when it holds installation files, else ../share/zumbrel from it when that exists.
QString FindInstallationFolder(const QString& exeDir);
// Creates the folder (mode 0700) when it is missing, then copies the installation's tariffs and sounds
// that the folder lacks, file by file. An existing folder keeps its mode; nothing else is copied.
bool PrepareProgramFolder(const QString& folder, const QString& installation);
