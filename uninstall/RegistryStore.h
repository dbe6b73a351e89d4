#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>

#include <vector>

// The registry the uninstaller removes from: one text file that installers write keys, values and
// shared-file counts into. Every call reads the file; a change rewrites it whole, no change writes nothing.
//
// The file (Windows-1252, CRLF): comment lines begin with ";". A key is a line "[<root>\<path>]", or
// "[<root>]" for values of a root key itself, with the roots HKCR, HKCU, HKLM and HKU; every key has
// its line, empty keys too. The values of a key follow its line, one a line: "<type>:<data>:<name>",
// the type in decimal, the data as two hexadecimal digits a byte. In paths and names "%" and two
// hexadecimal digits stand for one byte: "%" itself, CR, LF and the other control bytes are written so.
// Names are matched without regard to case; spelling and order stay as first written.

enum : quint32 {
    HKEY_CLASSES_ROOT = 0x80000000u,
    HKEY_CURRENT_USER = 0x80000001u,
    HKEY_LOCAL_MACHINE = 0x80000002u,
    HKEY_USERS = 0x80000003u,
};
enum : quint32 { REG_NONE = 0, REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3, REG_DWORD = 4, REG_MULTI_SZ = 7 };

struct TRegValue {
    QByteArray Name;
    quint32 Type = REG_NONE;
    QByteArray Data;
};

class TRegistryStore {
public:
    explicit TRegistryStore(const QString& Folder);
    QString FilePath() const { return filePath; }

    bool KeyExists(quint32 Root, const QByteArray& SubKey) const;
    bool QueryValue(quint32 Root, const QByteArray& SubKey, const QByteArray& Name, TRegValue& Value) const;
    // Enumerates the subkeys sorted without regard to case; false when the key does not exist.
    bool SubKeys(quint32 Root, const QByteArray& SubKey, QByteArrayList& Names) const;
    // Creates the key and the missing keys above it, then sets the value.
    bool SetValue(quint32 Root, const QByteArray& SubKey, const TRegValue& Value);
    bool DeleteValue(quint32 Root, const QByteArray& SubKey, const QByteArray& Name);
    // Deletes the key Name of an existing parent; a key with subkeys stays.
    bool DeleteKey(quint32 Root, const QByteArray& Parent, const QByteArray& Name);

private:
    struct TKey {
        quint32 Root = 0;
        QByteArrayList Path;
        QList<TRegValue> Values;
    };
    using TKeys = std::vector<TKey>;

    TKeys Load() const;
    bool Save(const TKeys& Keys) const;
    static qsizetype Find(const TKeys& Keys, quint32 Root, const QByteArrayList& Path);
    static qsizetype Ensure(TKeys& Keys, quint32 Root, const QByteArrayList& Path);

    QString filePath;
};

// The store below the user's data folder.
QString DefaultRegistryFolder();
