#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What the uninstaller asks of the system beyond plain files: deletions it may be refused, a deletion
// at the next restart, programs, server libraries and the running program's own file. The Linux
// layer does it for real; the simulation works in temporary folders, refuses chosen paths and
// records every call that is not a file deletion.
class TUninstallSystem {
public:
    virtual ~TUninstallSystem() = default;

    // The running program's file, deleted at the end of a run.
    virtual QString AppFileName() = 0;
    // Removes a file or a link, never what a link points to.
    virtual bool DeleteFile(const QString& Path) = 0;
    // Removes an empty folder.
    virtual bool RemoveDirectory(const QString& Path) = 0;
    // Schedules the deletion of Source (Target empty) or its move onto Target for the next restart.
    virtual bool ScheduleOnReboot(const QString& Source, const QString& Target) = 0;
    // Loads the library, calls its "DllUnregisterServer" and frees it; nothing when it does not load
    // or has no such export.
    virtual std::optional<qint32> CallUnregisterExport(const QString& Library) = 0;
    virtual bool UnregisterTypeLib(const QString& File) = 0;
    // Starts a program hidden without waiting; false when it does not start.
    virtual bool StartHidden(const QString& Program, const QStringList& Arguments) = 0;
    // Runs File and waits: its exit code, or -1 when it could not be started or crashed.
    virtual qint32 ExecAndWait(const QString& File, const QString& Parameters, const QString& Folder,
                               int ShowMode) = 0;
    // Starts File without waiting: 33 when it started, 2 when not.
    virtual qint32 ShellStart(const QString& File, const QString& Parameters, const QString& Folder,
                              int ShowMode) = 0;
};

enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMAXIMIZED = 3, SW_SHOWMINNOACTIVE = 7 };

class TLinuxSystem : public TUninstallSystem {
public:
    // An empty program file is the running executable's.
    explicit TLinuxSystem(QString ProgramFile = QString(), QString Opener = QStringLiteral("xdg-open"));

    QString AppFileName() override;
    bool DeleteFile(const QString& Path) override;
    bool RemoveDirectory(const QString& Path) override;
    bool ScheduleOnReboot(const QString& Source, const QString& Target) override;
    std::optional<qint32> CallUnregisterExport(const QString& Library) override;
    bool UnregisterTypeLib(const QString& File) override;
    bool StartHidden(const QString& Program, const QStringList& Arguments) override;
    qint32 ExecAndWait(const QString& File, const QString& Parameters, const QString& Folder, int ShowMode) override;
    qint32 ShellStart(const QString& File, const QString& Parameters, const QString& Folder, int ShowMode) override;

private:
    QString programFile;
    QString opener;
};

class TSimSystem : public TUninstallSystem {
public:
    explicit TSimSystem(QString ProgramFile) : AppFile(std::move(ProgramFile)) {}

    QString AppFile;
    QSet<QString> RefusedPaths;                // absolute paths whose deletion fails
    bool ScheduleWorks = true;
    QHash<QString, qint32> UnregisterExports;  // library -> result of its export; others do not load
    bool TypeLibResult = false;
    // The exit code of a waited program; without it 0.
    std::function<qint32(const QString& File, const QString& Parameters)> OnExec;
    qint32 ShellResult = 33;
    bool StartWorks = true;
    QStringList Calls;

    QString AppFileName() override { return AppFile; }
    bool DeleteFile(const QString& Path) override;
    bool RemoveDirectory(const QString& Path) override;
    bool ScheduleOnReboot(const QString& Source, const QString& Target) override;
    std::optional<qint32> CallUnregisterExport(const QString& Library) override;
    bool UnregisterTypeLib(const QString& File) override;
    bool StartHidden(const QString& Program, const QStringList& Arguments) override;
    qint32 ExecAndWait(const QString& File, const QString& Parameters, const QString& Folder, int ShowMode) override;
    qint32 ShellStart(const QString& File, const QString& Parameters, const QString& Folder, int ShowMode) override;
};
