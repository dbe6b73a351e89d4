#include "RegistryStore.h"

#include "znStrUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace {

const struct {
    quint32 Root;
    const char* Name;
} roots[] = {
    {HKEY_CLASSES_ROOT, "HKCR"},
    {HKEY_CURRENT_USER, "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKLM"},
    {HKEY_USERS, "HKU"},
};

const char* RootName(quint32 Root)
{
    for (const auto& r : roots) {
        if (r.Root == Root) return r.Name;
    }
    return nullptr;
}

bool SplitPath(const QByteArray& SubKey, QByteArrayList& Path)
{
    Path.clear();
    if (SubKey.isEmpty()) return true;
    Path = SubKey.split('\\');
    return std::none_of(Path.cbegin(), Path.cend(), [](const QByteArray& part) { return part.isEmpty(); });
}

bool SamePath(const QByteArrayList& A, const QByteArrayList& B, qsizetype Length)
{
    for (qsizetype i = 0; i < Length; ++i) {
        if (!SameText(A[i], B[i])) return false;
    }
    return true;
}

// A key sorts before the keys below it, and those stay together.
bool KeyLess(quint32 RootA, const QByteArrayList& A, quint32 RootB, const QByteArrayList& B)
{
    if (RootA != RootB) return RootA < RootB;
    for (qsizetype i = 0; i < qMin(A.size(), B.size()); ++i) {
        const int c = CompareText(A[i], B[i]);
        if (c != 0) return c < 0;
    }
    return A.size() < B.size();
}

QByteArray Escape(const QByteArray& S)
{
    QByteArray out;
    for (const char c : S) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '%')
            out += '%' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

QByteArray Unescape(const QByteArray& S)
{
    return QByteArray::fromPercentEncoding(S);
}

qsizetype ValueIndex(const QList<TRegValue>& Values, const QByteArray& Name)
{
    for (qsizetype i = 0; i < Values.size(); ++i) {
        if (SameText(Values[i].Name, Name)) return i;
    }
    return -1;
}

} // namespace

QString DefaultRegistryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Uninstall");
}

TRegistryStore::TRegistryStore(const QString& Folder) : filePath(Folder + QStringLiteral("/Registry.txt")) {}

qsizetype TRegistryStore::Find(const TKeys& Keys, quint32 Root, const QByteArrayList& Path)
{
    for (size_t i = 0; i < Keys.size(); ++i) {
        if (Keys[i].Root == Root && Keys[i].Path.size() == Path.size() && SamePath(Keys[i].Path, Path, Path.size()))
            return qsizetype(i);
    }
    return -1;
}

qsizetype TRegistryStore::Ensure(TKeys& Keys, quint32 Root, const QByteArrayList& Path)
{
    qsizetype at = -1;
    for (qsizetype depth = Path.isEmpty() ? 0 : 1; depth <= Path.size(); ++depth) {
        const QByteArrayList part = Path.mid(0, depth);
        at = Find(Keys, Root, part);
        if (at >= 0) continue;
        const auto place =
            std::find_if(Keys.begin(), Keys.end(), [&](const TKey& k) { return KeyLess(Root, part, k.Root, k.Path); });
        at = place - Keys.begin();
        Keys.insert(place, TKey{Root, part, {}});
    }
    return at;
}

TRegistryStore::TKeys TRegistryStore::Load() const
{
    TKeys keys;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) return keys;
    // Keys by their folded path, so that a large store loads in one pass.
    QHash<QByteArray, qsizetype> index;
    // A key and the keys above it, which exist too; the folded path grows part by part, so that a deep key
    // costs its length, not its length squared.
    auto add = [&](quint32 root, const QByteArrayList& path) {
        QByteArray id = RootName(root);
        qsizetype at = -1;
        for (qsizetype depth = path.isEmpty() ? 0 : 1; depth <= path.size(); ++depth) {
            if (depth > 0) id += '\\' + AnsiUpperCase(path[depth - 1]);
            const auto found = index.constFind(id);
            if (found != index.cend()) {
                at = found.value();
                continue;
            }
            keys.push_back(TKey{root, path.mid(0, depth), {}});
            at = qsizetype(keys.size()) - 1;
            index.insert(id, at);
        }
        return at;
    };
    QSet<QByteArray> seenValues; // the first value of a name counts
    const QByteArrayList lines = file.readAll().split('\n');
    qsizetype current = -1;
    for (QByteArray line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.startsWith('[') && line.endsWith(']') && line.size() >= 2) {
            const QByteArrayList parts = line.mid(1, line.size() - 2).split('\\');
            QByteArrayList path;
            for (qsizetype i = 1; i < parts.size(); ++i)
                path.append(Unescape(parts[i]));
            const auto root = std::find_if(std::begin(roots), std::end(roots),
                                           [&](const auto& r) { return SameText(parts[0], r.Name); });
            // A key's name is never empty and holds no backslash: an escaped one would split it when written.
            const bool valid = root != std::end(roots) &&
                               std::none_of(path.cbegin(), path.cend(),
                                            [](const QByteArray& p) { return p.isEmpty() || p.contains('\\'); });
            current = -1;
            if (valid) current = add(root->Root, path);
            continue;
        }
        const qsizetype colon1 = line.indexOf(':');
        const qsizetype colon2 = line.indexOf(':', colon1 + 1);
        if (current < 0 || colon1 <= 0 || colon2 < 0) continue;
        bool ok = false;
        const quint32 type = line.left(colon1).toUInt(&ok);
        if (!ok) continue;
        TRegValue value{Unescape(line.mid(colon2 + 1)), type,
                        QByteArray::fromHex(line.mid(colon1 + 1, colon2 - colon1 - 1))};
        const QByteArray id = QByteArray::number(current) + ':' + AnsiUpperCase(value.Name);
        if (!seenValues.contains(id)) {
            seenValues.insert(id);
            keys[size_t(current)].Values.append(value);
        }
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const TKey& a, const TKey& b) { return KeyLess(a.Root, a.Path, b.Root, b.Path); });
    return keys;
}

bool TRegistryStore::Save(const TKeys& Keys) const
{
    QByteArray text =
        "; Registry of the uninstaller: Windows-1252, CRLF line ends.\r\n"
        "; \"[<root>\\<path>]\" is a key (roots HKCR, HKCU, HKLM, HKU); its values follow it,\r\n"
        "; one a line: \"<type>:<data in hexadecimal>:<name>\". \"%XX\" in a path or name is one byte.\r\n";
    for (const TKey& key : Keys) {
        if (key.Path.isEmpty() && key.Values.isEmpty()) continue; // a root key exists anyway
        text += '[';
        text += RootName(key.Root);
        for (const QByteArray& part : key.Path)
            text += '\\' + Escape(part);
        text += "]\r\n";
        for (const TRegValue& value : key.Values)
            text +=
                QByteArray::number(value.Type) + ':' + value.Data.toHex().toUpper() + ':' + Escape(value.Name) + "\r\n";
    }
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // commit() would rename the new copy into place although its bytes never reached the disk (a full
    // one): they are flushed and synced first, and the old store stays when that fails.
    bool ok = file.write(text) == text.size() && file.flush();
    if (ok) {
        int synced = 0;
        do synced = ::fsync(file.handle());
        while (synced != 0 && errno == EINTR);
        ok = synced == 0 || errno == EINVAL; // EINVAL: a file system that cannot sync
    }
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool TRegistryStore::KeyExists(quint32 Root, const QByteArray& SubKey) const
{
    QByteArrayList path;
    if (!RootName(Root) || !SplitPath(SubKey, path)) return false;
    return path.isEmpty() || Find(Load(), Root, path) >= 0;
}

bool TRegistryStore::QueryValue(quint32 Root, const QByteArray& SubKey, const QByteArray& Name, TRegValue& Value) const
{
    QByteArrayList path;
    if (!RootName(Root) || !SplitPath(SubKey, path)) return false;
    const TKeys keys = Load();
    const qsizetype at = Find(keys, Root, path);
    if (at < 0) return false;
    const QList<TRegValue>& values = keys[size_t(at)].Values;
    const qsizetype i = ValueIndex(values, Name);
    if (i < 0) return false;
    Value = values[i];
    return true;
}

bool TRegistryStore::SubKeys(quint32 Root, const QByteArray& SubKey, QByteArrayList& Names) const
{
    Names.clear();
    QByteArrayList path;
    if (!RootName(Root) || !SplitPath(SubKey, path)) return false;
    const TKeys keys = Load();
    if (!path.isEmpty() && Find(keys, Root, path) < 0) return false;
    for (const TKey& key : keys) {
        if (key.Root == Root && key.Path.size() == path.size() + 1 && SamePath(key.Path, path, path.size()))
            Names.append(key.Path.last());
    }
    return true;
}

bool TRegistryStore::SetValue(quint32 Root, const QByteArray& SubKey, const TRegValue& Value)
{
    QByteArrayList path;
    if (!RootName(Root) || !SplitPath(SubKey, path)) return false;
    TKeys keys = Load();
    const qsizetype before = qsizetype(keys.size());
    QList<TRegValue>& values = keys[size_t(Ensure(keys, Root, path))].Values;
    const qsizetype i = ValueIndex(values, Value.Name);
    if (i < 0) {
        values.append(Value);
    } else if (values[i].Type != Value.Type || values[i].Data != Value.Data) {
        values[i].Type = Value.Type;
        values[i].Data = Value.Data;
    } else if (qsizetype(keys.size()) == before) {
        return true;
    }
    return Save(keys);
}

bool TRegistryStore::DeleteValue(quint32 Root, const QByteArray& SubKey, const QByteArray& Name)
{
    QByteArrayList path;
    if (!RootName(Root) || !SplitPath(SubKey, path)) return false;
    TKeys keys = Load();
    const qsizetype at = Find(keys, Root, path);
    if (at < 0) return false;
    QList<TRegValue>& values = keys[size_t(at)].Values;
    const qsizetype i = ValueIndex(values, Name);
    if (i < 0) return false;
    values.removeAt(i);
    return Save(keys);
}

bool TRegistryStore::DeleteKey(quint32 Root, const QByteArray& Parent, const QByteArray& Name)
{
    QByteArrayList path;
    if (!RootName(Root) || !SplitPath(Parent, path) || Name.isEmpty() || Name.contains('\\')) return false;
    TKeys keys = Load();
    if (!path.isEmpty() && Find(keys, Root, path) < 0) return false;
    path.append(Name);
    const qsizetype at = Find(keys, Root, path);
    if (at < 0) return false;
    const bool hasSubKeys = std::any_of(keys.cbegin(), keys.cend(), [&](const TKey& k) {
        return k.Root == Root && k.Path.size() > path.size() && SamePath(k.Path, path, path.size());
    });
    if (hasSubKeys) return false;
    keys.erase(keys.begin() + at);
    return Save(keys);
}
