#include "znRegIni.h"

#include "znStrUtils.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct TCachedIni {
    QString Key;
    std::unique_ptr<TznIniFile> File;
};

// Sorted without regard to case, then by exact spelling, and searched by bisection.
std::vector<TCachedIni>& IniCache()
{
    static std::vector<TCachedIni> cache;
    return cache;
}

std::vector<TCachedIni>::iterator CacheSlot(const QString& Key)
{
    std::vector<TCachedIni>& cache = IniCache();
    return std::lower_bound(cache.begin(), cache.end(), Key, [](const TCachedIni& item, const QString& key) {
        return ComparePathText(item.Key, key) < 0;
    });
}

TRegistryStore*& ChosenStore()
{
    static TRegistryStore* store = nullptr;
    return store;
}

TRegistryStore& Store()
{
    if (ChosenStore()) return *ChosenStore();
    static TRegistryStore fallback(DefaultRegistryFolder());
    return fallback;
}

QByteArray RemoveRegBackslash(const QByteArray& Path)
{
    return Path.size() > 1 && Path.endsWith('\\') ? Path.chopped(1) : Path;
}

QByteArray AddRegBackslash(const QByteArray& Path)
{
    return Path.isEmpty() || Path.endsWith('\\') ? Path : Path + '\\';
}

} // namespace

TznIniFile* GetCachedIniFile(const QString& FileName, bool ReadOnly)
{
    auto slot = CacheSlot(FileName);
    if (slot != IniCache().end() && slot->Key == FileName) {
        if (!(slot->File->ReadOnly && !ReadOnly)) return slot->File.get();
        UncacheIniFile(FileName); // a read-only object gives way to a writable one, which loads again
    }
    auto file = std::make_unique<TznIniFile>(FileName, ReadOnly, true, true, true, true);
    slot = CacheSlot(FileName);
    return IniCache().insert(slot, TCachedIni{FileName, std::move(file)})->File.get();
}

void UncacheIniFile(const QString& FileName)
{
    const auto slot = CacheSlot(FileName);
    if (slot == IniCache().end() || slot->Key != FileName) return;
    std::unique_ptr<TznIniFile> file = std::move(slot->File);
    IniCache().erase(slot);
    file.reset();
}

void FreeCachedIniFiles()
{
    std::vector<TCachedIni> cache;
    cache.swap(IniCache());
    for (TCachedIni& item : cache)
        item.File.reset();
}

QByteArray IniReadString(const QString& FileName, const QByteArray& Section, const QByteArray& Ident,
                         const QByteArray& Default)
{
    return GetCachedIniFile(FileName, true)->ReadString(Section, Ident, Default);
}

void IniReadSectionValues(const QString& FileName, const QByteArray& Section, QByteArrayList& Strings)
{
    GetCachedIniFile(FileName, true)->ReadSectionValues(Section, Strings);
}

void IniDeleteKey(const QString& FileName, const QByteArray& Section, const QByteArray& Ident)
{
    GetCachedIniFile(FileName, false)->DeleteKey(Section, Ident);
}

void UseRegistryStore(TRegistryStore* Store_)
{
    ChosenStore() = Store_;
}

void SplitRegPath(const QByteArray& Path, quint32& Root, QByteArray& SubKey)
{
    static const struct {
        const char* Name;
        quint32 Key;
    } roots[] = {
        {"HKCR", HKEY_CLASSES_ROOT}, {"HKCU", HKEY_CURRENT_USER}, {"HKLM", HKEY_LOCAL_MACHINE}, {"HKU", HKEY_USERS}};
    Root = 0;
    SubKey = RemoveRegBackslash(Path);
    const qsizetype slash = SubKey.indexOf('\\');
    const QByteArray first = slash < 0 ? SubKey : SubKey.left(slash);
    for (const auto& r : roots) {
        if (first.toUpper() == r.Name) {
            Root = r.Key;
            SubKey = slash < 0 ? QByteArray() : SubKey.mid(slash + 1);
            return;
        }
    }
    Root = HKEY_CURRENT_USER;
}

bool RegReadValue(const QByteArray& Path, const QByteArray& ValueName, void* Buffer, quint32& Size)
{
    quint32 root;
    QByteArray subKey;
    SplitRegPath(Path, root, subKey);
    TRegValue value;
    if (!Store().QueryValue(root, subKey, ValueName, value)) return false;
    const quint32 capacity = Size;
    Size = quint32(value.Data.size());
    if (!Buffer) return true;
    if (capacity < Size) return false;
    if (Size > 0) std::memcpy(Buffer, value.Data.constData(), Size);
    return true;
}

qint32 RegReadInteger(const QByteArray& Path, const QByteArray& ValueName, qint32 Default)
{
    uchar bytes[4] = {0, 0, 0, 0}; // a shorter value reads zero-filled
    quint32 size = sizeof bytes;
    if (!RegReadValue(Path, ValueName, bytes, size)) return Default;
    return qFromLittleEndian<qint32>(bytes);
}

void RegEnumSubKeys(const QByteArray& Path, QByteArrayList& Strings)
{
    Strings.clear();
    quint32 root;
    QByteArray subKey;
    SplitRegPath(Path, root, subKey);
    QByteArrayList names;
    Store().SubKeys(root, subKey, names);
    for (const QByteArray& name : names) {
        if (name.size() >= 1024) break; // the name buffer's limit ends the list
        Strings.append(name);
    }
}

bool RegWriteValue(const QByteArray& Path, const QByteArray& ValueName, quint32 ValueType, const void* Data,
                   quint32 Size)
{
    quint32 root;
    QByteArray subKey;
    SplitRegPath(Path, root, subKey);
    const QByteArray data = Size > 0 ? QByteArray(static_cast<const char*>(Data), qsizetype(Size)) : QByteArray();
    return Store().SetValue(root, subKey, TRegValue{ValueName, ValueType, data});
}

bool RegWriteString(const QByteArray& Path, const QByteArray& ValueName, const QByteArray& Value)
{
    return RegWriteValue(Path, ValueName, REG_SZ, Value.constData(), quint32(Value.size() + 1));
}

bool RegWriteInteger(const QByteArray& Path, const QByteArray& ValueName, qint32 Value)
{
    uchar bytes[4];
    qToLittleEndian(Value, bytes);
    return RegWriteValue(Path, ValueName, REG_DWORD, bytes, sizeof bytes);
}

bool RegRemoveValue(const QByteArray& Path, const QByteArray& ValueName)
{
    quint32 root;
    QByteArray subKey;
    SplitRegPath(Path, root, subKey);
    return Store().DeleteValue(root, subKey, ValueName);
}

bool RegRemoveKey(const QByteArray& Path, bool WithSubKeys)
{
    if (WithSubKeys) {
        QByteArrayList names;
        RegEnumSubKeys(Path, names);
        for (const QByteArray& name : names)
            RegRemoveKey(AddRegBackslash(Path) + name, true);
    }
    // Key names may hold a colon: only the backslash separates.
    const QByteArray path = RemoveRegBackslash(Path);
    const qsizetype slash = path.lastIndexOf('\\');
    const QByteArray keyName = path.mid(slash + 1);
    const QByteArray parent = slash < 0 ? QByteArray() : path.left(slash);
    quint32 root;
    QByteArray subKey;
    SplitRegPath(parent, root, subKey);
    return Store().DeleteKey(root, subKey, keyName);
}
