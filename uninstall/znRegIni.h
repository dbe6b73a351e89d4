#pragma once

#include "RegistryStore.h"
#include "znIniFile.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// INI files shared for the whole run, and registry access through root-prefixed paths.

// Objects are cached by the path exactly as given: two spellings are two files on Linux.
TznIniFile* GetCachedIniFile(const QString& FileName, bool ReadOnly);
void UncacheIniFile(const QString& FileName);
void FreeCachedIniFiles();
QByteArray IniReadString(const QString& FileName, const QByteArray& Section, const QByteArray& Ident,
                         const QByteArray& Default);
void IniReadSectionValues(const QString& FileName, const QByteArray& Section, QByteArrayList& Strings);
void IniDeleteKey(const QString& FileName, const QByteArray& Section, const QByteArray& Ident);

// The store the registry functions use; nullptr returns to the one below the user's data folder.
void UseRegistryStore(TRegistryStore* Store);

void SplitRegPath(const QByteArray& Path, quint32& Root, QByteArray& SubKey);
bool RegReadValue(const QByteArray& Path, const QByteArray& ValueName, void* Buffer, quint32& Size);
qint32 RegReadInteger(const QByteArray& Path, const QByteArray& ValueName, qint32 Default);
void RegEnumSubKeys(const QByteArray& Path, QByteArrayList& Strings);
bool RegWriteValue(const QByteArray& Path, const QByteArray& ValueName, quint32 ValueType, const void* Data,
                   quint32 Size);
bool RegWriteString(const QByteArray& Path, const QByteArray& ValueName, const QByteArray& Value);
bool RegWriteInteger(const QByteArray& Path, const QByteArray& ValueName, qint32 Value);
bool RegRemoveValue(const QByteArray& Path, const QByteArray& ValueName);
bool RegRemoveKey(const QByteArray& Path, bool WithSubKeys);
