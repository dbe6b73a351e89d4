#pragma once

#include "UninstallProgress.h"
#include "UninstallSystem.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

// One run of the uninstaller without its windows: the start checks, the worker's removal steps in
// their order, and the end. The steps report through a progress interface; the worker alone uses
// the run's lists and, once it started, the INI cache.
class TUninstallRun {
public:
    explicit TUninstallRun(TUninstallSystem& System);

    QString ProgramFolder; // with trailing "/"
    QString LogFileName;   // absolute
    QByteArrayList SectionLines;
    QByteArrayList KeptSharedFiles;
    TUninstallProgress* Progress = nullptr;
    // Set once the pre-run programs let the removal go on; only then do the bitmap and the program go.
    bool PassedPreRun = false;

    // Settles the folders and the log, asks the question; true when the removal is to run.
    bool Prepare(const QStringList& Arguments);
    // The worker's body; always ends by enabling Close.
    void UninstallThread();
    // After the dialog closed and the worker ended.
    void Finish();

    QByteArray ReadLogString(const QByteArray& Section, const QByteArray& Key, const QByteArray& Default);
    QByteArray GetStr(int Id);
    QString Str(int Id);
    void ReadLogSection(const QByteArray& Section);

    bool RunPreRunApps();
    void CheckSharedFiles();
    void RemoveShortcuts();
    void RemoveIniEntries();
    void UnregisterFonts();
    void RemoveRegistryEntries();
    void UnregisterServers();
    void RemoveFiles();
    void RemoveDirectories();
    void RunPostApps();
    qint32 RunLogApp(const QByteArray& Spec);
    void DeleteFilesByMask(const QString& Mask);

private:
    void DoStep(void (TUninstallRun::*Step)());
    void AddProgressLine(const QString& Text);
    void StepProgress();
    // A step's first line, or false when its section is empty.
    bool BeginStep(const QByteArray& Section, int TextId);
    void EndStep();
    void NotRemoved(const QString& Item);
    bool IsKeptSharedFile(const QByteArray& Name) const;
    QString Absolute(const QString& Path) const;

    TUninstallSystem& system;
    QStringList notRemoved;
};

QByteArray EntryName(const QByteArray& Line);
qsizetype RegValueSplitPos(const QByteArray& Path);
QByteArray ExtractRegKey(const QByteArray& Path);
QByteArray ExtractRegValueName(const QByteArray& Path);
QString ChangeFileExt(const QString& Path, const QString& Extension);
// The log's entries sorted by the folded byte order; walked from the end, what lies below comes first.
void SortEntries(QByteArrayList& Lines);
