#include "Uninstaller.h"

#include "PathGuard.h"
#include "ServerUnreg.h"
#include "UninstallTexts.h"
#include "znFileFind.h"
#include "znFileUtils.h"
#include "znRegIni.h"
#include "znStrUtils.h"
#include "znUtils.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QByteArray SharedDllsKey = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\";

// The first "%s" of a text, as the system's formatting fills it.
QString FormatS(QString Text, const QString& Argument)
{
    const qsizetype at = Text.indexOf(QLatin1String("%s"));
    return at < 0 ? Text : Text.replace(at, 2, Argument);
}

int ShowModeOf(const QByteArray& Field)
{
    static const int modes[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE};
    qint32 n = 0;
    return TryStrToInt(Field, n) && n >= 0 && n <= 3 ? modes[n] : SW_SHOWNORMAL;
}

qint32 WaitFlagOf(const QByteArray& Field)
{
    qint32 n = 0;
    return TryStrToInt(Field, n) ? n : 1;
}

QString ErrorText(const std::exception& Error)
{
    if (const auto* io = dynamic_cast<const EInOutError*>(&Error)) return io->Message;
    return QString::fromLocal8Bit(Error.what());
}

} // namespace

QByteArray EntryName(const QByteArray& Line)
{
    const qsizetype at = Line.lastIndexOf('=');
    return at < 0 ? QByteArray() : Line.left(at);
}

qsizetype RegValueSplitPos(const QByteArray& Path)
{
    char open = 0;
    for (qsizetype i = Path.size() - 1; i >= 0; --i) {
        const char c = Path[i];
        if (open != 0) {
            if (c == open) open = 0;
        } else if (c == '"' || c == '\'') {
            open = c;
        } else if (c == '\\') {
            return i + 1;
        }
    }
    return 0;
}

QByteArray ExtractRegKey(const QByteArray& Path)
{
    const qsizetype at = RegValueSplitPos(Path);
    return at == 0 ? QByteArray() : Path.left(at - 1);
}

QByteArray ExtractRegValueName(const QByteArray& Path)
{
    return UnquoteStr(Path.mid(RegValueSplitPos(Path)), '\'');
}

QString ChangeFileExt(const QString& Path, const QString& Extension)
{
    const qsizetype dot = Path.lastIndexOf(u'.');
    return dot > Path.lastIndexOf(u'/') ? Path.left(dot) + Extension : Path + Extension;
}

void SortEntries(QByteArrayList& Lines)
{
    std::stable_sort(Lines.begin(), Lines.end(),
                     [](const QByteArray& a, const QByteArray& b) { return CompareText(a, b) < 0; });
}

TUninstallRun::TUninstallRun(TUninstallSystem& System) : system(System) {}

QString TUninstallRun::Absolute(const QString& Path) const
{
    return Path.startsWith(u'/') ? Path : ProgramFolder + Path;
}

bool TUninstallRun::Prepare(const QStringList& Arguments)
{
    ProgramFolder = AddBackslash(QFileInfo(system.AppFileName()).absolutePath());
    QDir::setCurrent(ProgramFolder);
    SectionLines.clear();
    KeptSharedFiles.clear();
    // A bare name is the program folder's file, for the check, the reading and the deletion alike.
    LogFileName = Arguments.size() > 1 ? Absolute(Arguments[1]) : ProgramFolder + QStringLiteral("install.log");
    if (!QFileInfo(LogFileName).isFile()) {
        ErrorBox(FormatS(Str(3), LogFileName));
        return false;
    }
    // A log of which nothing loads would run as "nothing to remove" and still delete the uninstaller.
    QByteArrayList sections;
    GetCachedIniFile(LogFileName, true)->ReadSections(sections);
    if (sections.isEmpty()) {
        ErrorBox(FormatS(Str(TextLogDamaged), LogFileName));
        return false;
    }
    return QuestionBox(Str(4)) == IDYES;
}

void TUninstallRun::UninstallThread()
{
    Progress->SetBarRange(0, 10);
    try {
        if (RunPreRunApps()) {
            PassedPreRun = true;
            StepProgress();
            DoStep(&TUninstallRun::CheckSharedFiles);
            DoStep(&TUninstallRun::RemoveShortcuts);
            DoStep(&TUninstallRun::RemoveIniEntries);
            DoStep(&TUninstallRun::UnregisterFonts);
            DoStep(&TUninstallRun::RemoveRegistryEntries);
            DoStep(&TUninstallRun::UnregisterServers);
            DoStep(&TUninstallRun::RemoveFiles);
            DoStep(&TUninstallRun::RemoveDirectories);
            system.DeleteFile(LogFileName);
            DoStep(&TUninstallRun::RunPostApps);
            AddProgressLine(Str(5));
        }
    } catch (const std::exception& error) {
        AddProgressLine(ErrorText(error));
    }
    Progress->EnableClose();
}

void TUninstallRun::Finish()
{
    // After a cancel the installation is whole and keeps its uninstaller.
    if (!PassedPreRun) return;
    system.DeleteFile(ProgramFolder + QStringLiteral("Uninstall.bmp"));
    DeleteSelf(system, true);
}

QByteArray TUninstallRun::ReadLogString(const QByteArray& Section, const QByteArray& Key, const QByteArray& Default)
{
    return ReplaceStr(IniReadString(LogFileName, Section, Key, Default), "||", "\r");
}

QByteArray TUninstallRun::GetStr(int Id)
{
    return ReadLogString("Strings", QByteArray::number(Id), DefaultText(Id));
}

QString TUninstallRun::Str(int Id)
{
    return AnsiToString(GetStr(Id));
}

void TUninstallRun::ReadLogSection(const QByteArray& Section)
{
    SectionLines.clear();
    IniReadSectionValues(LogFileName, Section, SectionLines);
}

void TUninstallRun::DoStep(void (TUninstallRun::*Step)())
{
    try {
        (this->*Step)();
    } catch (const std::exception& error) {
        AddProgressLine(ErrorText(error));
    }
    StepProgress();
}

void TUninstallRun::AddProgressLine(const QString& Text)
{
    Progress->AddLine(Text);
}

void TUninstallRun::StepProgress()
{
    Progress->StepBar();
}

bool TUninstallRun::BeginStep(const QByteArray& Section, int TextId)
{
    ReadLogSection(Section);
    if (SectionLines.isEmpty()) return false;
    notRemoved.clear();
    AddProgressLine(Str(TextId));
    return true;
}

void TUninstallRun::EndStep()
{
    // "ok" only when every item is gone or scheduled; what stays is named.
    if (notRemoved.isEmpty()) {
        Progress->AppendToLastLine(QStringLiteral("ok"));
        return;
    }
    Progress->AppendToLastLine(Str(TextFailed));
    const QString format = Str(TextNotRemoved);
    for (const QString& item : std::as_const(notRemoved))
        AddProgressLine(FormatS(format, item));
    notRemoved.clear();
}

void TUninstallRun::NotRemoved(const QString& Item)
{
    if (!notRemoved.contains(Item)) notRemoved.append(Item);
}

bool TUninstallRun::IsKeptSharedFile(const QByteArray& Name) const
{
    return std::any_of(KeptSharedFiles.cbegin(), KeptSharedFiles.cend(),
                       [&Name](const QByteArray& line) { return SameText(GetNamePart(line), Name); });
}

bool TUninstallRun::RunPreRunApps()
{
    ReadLogSection("PreRunApp");
    const QByteArrayList lines = SectionLines;
    for (const QByteArray& line : lines) {
        if (RunLogApp(GetValuePart(line)) != 0) return false;
    }
    return true;
}

qint32 TUninstallRun::RunLogApp(const QByteArray& Spec)
{
    const QString file = AnsiToString(UnquoteStr(ExtractField(1, Spec, ","), '"'));
    if (file.isEmpty() || !QFileInfo::exists(Absolute(file))) return 0;
    const QString parameters = AnsiToString(ExtractField(2, Spec, ","));
    const QString folder = AnsiToString(UnquoteStr(ExtractField(3, Spec, ","), '"')).trimmed();
    const int showMode = ShowModeOf(ExtractField(4, Spec, ","));
    const QString message = AnsiToString(UnquoteStr(ExtractField(5, Spec, ","), '"'));
    if (!message.isEmpty()) AddProgressLine(message);
    if (WaitFlagOf(ExtractField(6, Spec, ",")) != 0)
        return system.ExecAndWait(Absolute(file), parameters, folder, showMode);
    return system.ShellStart(Absolute(file), parameters, folder, showMode);
}

void TUninstallRun::CheckSharedFiles()
{
    KeptSharedFiles.clear();
    IniReadSectionValues(LogFileName, "SharedFiles", KeptSharedFiles);
    if (KeptSharedFiles.isEmpty()) return;
    notRemoved.clear();
    AddProgressLine(Str(14));
    ReadLogSection("CopyFiles");
    QStringList texts;
    for (int id = 15; id <= 22; ++id)
        texts << Str(id);
    int remembered = 0;
    for (qsizetype i = 0; i < KeptSharedFiles.size();) {
        const QByteArray file = EntryName(KeptSharedFiles[i]);
        const bool copied = std::any_of(SectionLines.cbegin(), SectionLines.cend(),
                                        [&file](const QByteArray& line) { return SameText(GetNamePart(line), file); });
        if (!copied) {
            ++i;
            continue;
        }
        const qint32 count = RegReadInteger(SharedDllsKey, file, 1);
        if (count > 1) {
            RegWriteInteger(SharedDllsKey, file, count - 1);
            ++i;
            continue;
        }
        if (remembered != 10 && remembered != 9) remembered = Progress->AskRemoveSharedFile(AnsiToString(file), texts);
        if (remembered == 6 || remembered == 10) {
            RegRemoveValue(SharedDllsKey, file);
            KeptSharedFiles.removeAt(i);
        } else {
            ++i;
        }
    }
    EndStep();
}

void TUninstallRun::RemoveShortcuts()
{
    if (!BeginStep("Shortcuts", 10)) return;
    for (const QByteArray& line : std::as_const(SectionLines)) {
        const QString entry = AnsiToString(EntryName(line));
        if (HasParentStep(entry)) {
            NotRemoved(entry);
            continue;
        }
        for (const char* extension : {".lnk", ".pif", ".desktop"}) {
            const QString path = ChangeFileExt(entry, QLatin1String(extension));
            if (FileExistsEx(path) && !system.DeleteFile(path)) NotRemoved(path);
        }
    }
    EndStep();
}

void TUninstallRun::RemoveIniEntries()
{
    if (!BeginStep("AddIni", 9)) return;
    for (const QByteArray& line : std::as_const(SectionLines)) {
        const QByteArray name = GetNamePart(line);
        const QString file = AnsiToString(ExtractField(1, name, ","));
        if (HasParentStep(file)) {
            NotRemoved(file);
            continue;
        }
        try {
            IniDeleteKey(file, ExtractField(2, name, ","), ExtractField(3, name, ","));
        } catch (const EInOutError&) {
            NotRemoved(file); // the other lines and steps still run
        }
    }
    FreeCachedIniFiles();
    EndStep();
}

void TUninstallRun::UnregisterFonts()
{
    if (!BeginStep("RegFonts", 13)) return;
    const bool win9x = OSVersion.Kind == 1 || OSVersion.Kind == 2 || OSVersion.Kind == 5;
    const QByteArray fontsKey = win9x ? "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts\\"
                                      : "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\\";
    for (const QByteArray& line : std::as_const(SectionLines)) {
        if (IsKeptSharedFile(GetValuePart(line))) continue;
        RegRemoveValue(fontsKey, GetNamePart(line));
    }
    EndStep();
}

void TUninstallRun::RemoveRegistryEntries()
{
    if (BeginStep("AddReg", 7)) {
        for (const QByteArray& line : std::as_const(SectionLines)) {
            const QByteArray name = GetNamePart(line);
            RegRemoveValue(ExtractRegKey(name), ExtractRegValueName(name));
        }
        EndStep();
    }
    if (BeginStep("CreateKeys", 8)) {
        QByteArrayList keys;
        for (const QByteArray& line : std::as_const(SectionLines))
            keys << EntryName(line);
        SortEntries(keys);
        for (qsizetype i = keys.size() - 1; i >= 0; --i)
            RegRemoveKey(keys[i], false);
        EndStep();
    }
}

void TUninstallRun::UnregisterServers()
{
    if (!BeginStep("RegServers", 12)) return;
    for (const QByteArray& line : std::as_const(SectionLines)) {
        const QByteArray entry = EntryName(line);
        if (IsKeptSharedFile(entry)) continue;
        const QString path = Absolute(AnsiToString(entry));
        // Loading or starting runs the file's code: only the installation's own.
        if (!LiesWithin(path, ProgramFolder)) {
            NotRemoved(AnsiToString(entry));
            continue;
        }
        UnregisterOleFile(system, path);
    }
    EndStep();
}

void TUninstallRun::RemoveFiles()
{
    if (!BeginStep("CopyFiles", 6)) return;
    for (const QByteArray& line : std::as_const(SectionLines)) {
        const QByteArray entry = EntryName(line);
        if (IsKeptSharedFile(entry)) continue;
        const QString path = AnsiToString(entry);
        if (HasParentStep(path) || (IsMask(path) && !LiesWithin(ExtractFolderPart(Absolute(path)), ProgramFolder))) {
            NotRemoved(path);
            continue;
        }
        DeleteFilesByMask(path);
        if (QFileInfo(path).suffix().compare(QLatin1String("hlp"), Qt::CaseInsensitive) == 0) {
            DeleteFilesByMask(ChangeFileExt(path, QStringLiteral(".gid")));
            DeleteFilesByMask(ChangeFileExt(path, QStringLiteral(".fts")));
        }
    }
    EndStep();
}

void TUninstallRun::DeleteFilesByMask(const QString& Mask)
{
    TSearchRecEx rec;
    for (quint32 found = FindFirstEx(Mask, 0, faDirectory | faVolumeID, rec); found == 0; found = FindNextEx(rec)) {
        if (!system.DeleteFile(rec.FullName) && !DeleteFileOnReboot(system, rec.FullName)) NotRemoved(rec.FullName);
    }
    FindCloseEx(rec);
}

void TUninstallRun::RemoveDirectories()
{
    if (!BeginStep("CreateDirs", 11)) return;
    system.DeleteFile(LogFileName); // the log must not hold its folder
    QByteArrayList folders;
    for (const QByteArray& line : std::as_const(SectionLines))
        folders << EntryName(line);
    SortEntries(folders);
    for (qsizetype i = folders.size() - 1; i >= 0; --i) {
        const QString folder = AnsiToString(folders[i]);
        if (HasParentStep(folder))
            NotRemoved(folder);
        else
            system.RemoveDirectory(folder); // a folder that still holds files stays
    }
    EndStep();
}

void TUninstallRun::RunPostApps()
{
    ReadLogSection("RunApp");
    const QByteArrayList lines = SectionLines;
    for (const QByteArray& line : lines)
        RunLogApp(GetValuePart(line));
}
