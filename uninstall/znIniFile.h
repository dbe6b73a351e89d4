#pragma once

#include "znFileUtils.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>

#include <exception>
#include <memory>
#include <vector>

// An INI file held whole in memory; loading applies the lexical options chosen at creation.

class EInOutError : public std::exception {
public:
    explicit EInOutError(QString Message) : Message(std::move(Message)), utf8(this->Message.toUtf8()) {}
    const char* what() const noexcept override { return utf8.constData(); }
    QString Message;

private:
    QByteArray utf8;
};

struct TIniLine {
    QByteArray Text;
    // Where the loaded line stood in the file, its line end included; -1 for a line made in memory.
    qint64 Begin = -1;
    qint64 End = -1;
};
using TIniLines = QList<TIniLine>;

class TSectionList {
public:
    qint32 LastIndex = 0;

    qint32 Count() const { return qint32(items.size()); }
    const QByteArray& Name(qint32 Index) const { return items[size_t(Index)]->Name; }
    TIniLines* GetSection(qint32 Index) { return &items[size_t(Index)]->Lines; }
    qint32 IndexOf(const QByteArray& Name);
    void Add(const QByteArray& Name);
    void Delete(qint32 Index);
    void Clear();
    bool RemoveDuplicates();

private:
    struct TSection {
        QByteArray Name;
        TIniLines Lines;
    };
    // Sections are held by pointer so that a line list handed out stays put while others come and go.
    std::vector<std::unique_ptr<TSection>> items;
};

class TznIniFile {
public:
    TznIniFile(const QString& FileName, bool ReadOnly, bool SkipComments, bool NameValueOnly, bool TrimSpaces,
               bool StripQuotes);
    virtual ~TznIniFile();
    TznIniFile(const TznIniFile&) = delete;
    TznIniFile& operator=(const TznIniFile&) = delete;

    virtual QByteArray ReadString(const QByteArray& Section, const QByteArray& Ident, const QByteArray& Default);
    virtual void WriteString(const QByteArray& Section, const QByteArray& Ident, const QByteArray& Value);
    virtual qint32 ReadInteger(const QByteArray& Section, const QByteArray& Ident, qint32 Default);
    virtual void WriteInteger(const QByteArray& Section, const QByteArray& Ident, qint32 Value);
    virtual bool ReadBool(const QByteArray& Section, const QByteArray& Ident, bool Default);
    virtual void WriteBool(const QByteArray& Section, const QByteArray& Ident, bool Value);
    virtual void ReadSection(const QByteArray& Section, QByteArrayList& Strings);
    virtual void ReadSections(QByteArrayList& Strings);
    virtual void ReadSectionValues(const QByteArray& Section, QByteArrayList& Strings);
    virtual void WriteSectionValues(const QByteArray& Section, const QByteArrayList& Strings);
    virtual void EraseSection(const QByteArray& Section);
    virtual void DeleteKey(const QByteArray& Section, const QByteArray& Ident);
    virtual void SaveToStrings(QByteArrayList& Strings);
    virtual void UpdateFile();

    void SetFileName(const QString& Name);
    void LoadFromFile(const QString& Name);
    void ClearSections();
    qint32 FindKey(const QByteArray& Section, const QByteArray& Ident, TIniLines*& Lines, bool CreateSection);

    QString FileName;
    TFileHandle Handle;
    bool Modified = false;
    TSectionList Sections;
    qint32 CurSection = 0;
    bool ReadOnly;
    bool SkipComments;
    bool NameValueOnly;
    bool TrimSpaces;
    bool StripQuotes;

private:
    void MarkChanged();
    void WriteLayout();
    void WriteLoadedLessDeleted();

    // Key deletions alone edit the loaded bytes in place, so that another program's file keeps its comments,
    // spacing and every line this parser does not see; any other change rewrites the file in our layout.
    QByteArray loaded;
    bool haveLoaded = false;
    bool rewrite = false;
    QList<QPair<qint64, qint64>> deleted;
};

// The key name of an INI line: the text before its first "="; a line without "=" has the empty name.
QByteArray IniKeyName(const QByteArray& Line);
