#include "znIniFile.h"

#include "znStrUtils.h"
#include "znUtils.h"

#include <algorithm>
#include <numeric>

QByteArray IniKeyName(const QByteArray& Line)
{
    const qsizetype at = Line.indexOf('=');
    return at < 0 ? QByteArray() : Line.left(at);
}

namespace {

QByteArray TrimControl(const QByteArray& S)
{
    qsizetype begin = 0, end = S.size();
    while (begin < end && static_cast<unsigned char>(S[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(S[end - 1]) <= 32)
        --end;
    return S.mid(begin, end - begin);
}

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

void TrimAroundEquals(QByteArray& Line)
{
    qsizetype eq = Line.indexOf('=');
    while (eq >= 1 && IsBlank(Line[eq - 1])) {
        Line.remove(eq - 1, 1);
        --eq;
    }
    if (eq >= 1) {
        while (eq + 1 < Line.size() && IsBlank(Line[eq + 1]))
            Line.remove(eq + 1, 1);
    }
}

void StripValueQuotes(QByteArray& Line)
{
    const qsizetype eq = Line.indexOf('=');
    if (eq < 1 || Line.size() - eq - 1 < 2) return;
    const char quote = Line[eq + 1];
    if (Line.back() == quote && (quote == '"' || quote == '\'')) {
        Line.chop(1);
        Line.remove(eq + 1, 1);
    }
}

} // namespace

qint32 TSectionList::IndexOf(const QByteArray& Name)
{
    const qint32 count = Count();
    if (count == 0) return -1;
    if (LastIndex >= count) LastIndex = 0;
    for (qint32 n = 0; n < count; ++n) {
        const qint32 i = (LastIndex + n) % count;
        if (SameText(items[size_t(i)]->Name, Name)) {
            LastIndex = i;
            return i;
        }
    }
    return -1;
}

void TSectionList::Add(const QByteArray& Name)
{
    items.push_back(std::make_unique<TSection>(TSection{Name, {}}));
}

void TSectionList::Delete(qint32 Index)
{
    items.erase(items.begin() + Index);
}

void TSectionList::Clear()
{
    items.clear();
}

bool TSectionList::RemoveDuplicates()
{
    if (items.size() < 2) return false;
    std::vector<size_t> order(items.size());
    std::iota(order.begin(), order.end(), 0);
    // Stable: within a run of equal names the earliest section comes first and survives whole.
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return CompareText(items[a]->Name, items[b]->Name) < 0; });
    std::vector<bool> dropped(items.size(), false);
    bool any = false;
    for (size_t k = 1, run = order[0]; k < order.size(); ++k) {
        if (SameText(items[order[k]]->Name, items[run]->Name)) {
            dropped[order[k]] = true;
            any = true;
        } else {
            run = order[k];
        }
    }
    size_t kept = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!dropped[i]) items[kept++] = std::move(items[i]);
    }
    items.resize(kept);
    return any;
}

TznIniFile::TznIniFile(const QString& FileName_, bool ReadOnly_, bool SkipComments_, bool NameValueOnly_,
                       bool TrimSpaces_, bool StripQuotes_)
    : ReadOnly(ReadOnly_), SkipComments(SkipComments_), NameValueOnly(NameValueOnly_), TrimSpaces(TrimSpaces_),
      StripQuotes(StripQuotes_)
{
    try {
        SetFileName(FileName_);
    } catch (...) {
        FileCloseEx(Handle);
        throw;
    }
}

TznIniFile::~TznIniFile()
{
    UpdateFile();
    FileCloseEx(Handle);
}

void TznIniFile::SetFileName(const QString& Name)
{
    UpdateFile();
    FileCloseEx(Handle);
    ClearSections();
    FileName = Name;
    if (!Name.isEmpty() && !Name.contains(u'/')) FileName = AddBackslash(GetWindowsDir()) + Name;
    if (!Name.isEmpty()) LoadFromFile(FileName);
    Modified = false;
}

void TznIniFile::ClearSections()
{
    Sections.Clear();
    Sections.LastIndex = 0;
    CurSection = 0;
}

void TznIniFile::LoadFromFile(const QString& Name)
{
    CurSection = 0;
    FileCloseEx(Handle);
    loaded.clear();
    haveLoaded = false;
    rewrite = false;
    deleted.clear();
    if (!FileExistsEx(Name)) return;
    Handle =
        ReadOnly
            ? FileOpenEx(Name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL)
            : FileOpenEx(Name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (!Handle.IsOpen()) throw EInOutError(QStringLiteral("Cannot open file ") + Name);

    TIniLines* current = nullptr;
    QByteArray raw;
    while (!FileEofEx(Handle)) {
        const qint64 begin = FilePosition(Handle);
        FileReadLn(Handle, raw);
        const qint64 end = FilePosition(Handle);
        if (end <= begin) break; // a read error: the file cannot be read further
        QByteArray line = TrimControl(raw);
        if (SkipComments && line.startsWith(';')) line.clear();
        if (line.isEmpty()) continue;
        if (line.startsWith('[') && line.endsWith(']') && line.size() >= 2) {
            Sections.Add(line.mid(1, line.size() - 2));
            current = Sections.GetSection(Sections.Count() - 1);
            continue;
        }
        if (TrimSpaces) TrimAroundEquals(line);
        if (StripQuotes) StripValueQuotes(line);
        if (NameValueOnly && !line.contains('=')) continue;
        if (current) current->append(TIniLine{line, begin, end});
    }
    Sections.RemoveDuplicates();

    if (ReadOnly) {
        FileCloseEx(Handle);
        return;
    }
    haveLoaded = FileReadAll(Handle, loaded) && loaded.size() == FilePosition(Handle);
}

qint32 TznIniFile::FindKey(const QByteArray& Section, const QByteArray& Ident, TIniLines*& Lines, bool CreateSection)
{
    Lines = nullptr;
    const qint32 count = Sections.Count();
    bool found = false;
    if (count > 0) {
        if (CurSection >= count) CurSection = 0;
        const qint32 stop = CurSection - 1 < 0 ? count - 1 : CurSection - 1;
        for (;;) {
            if (SameText(Sections.Name(CurSection), Section)) {
                found = true;
                break;
            }
            if (CurSection == stop) break;
            CurSection = (CurSection + 1) % count;
        }
    }
    if (found) {
        Lines = Sections.GetSection(CurSection);
        for (qint32 i = 0; i < Lines->size(); ++i) {
            if (SameText(IniKeyName(Lines->at(i).Text), Ident)) return i;
        }
        return -1;
    }
    if (CreateSection) {
        Sections.Add(Section);
        CurSection = Sections.Count() - 1;
        Lines = Sections.GetSection(CurSection);
    }
    return -1;
}

QByteArray TznIniFile::ReadString(const QByteArray& Section, const QByteArray& Ident, const QByteArray& Default)
{
    TIniLines* lines;
    const qint32 i = FindKey(Section, Ident, lines, false);
    return i >= 0 ? GetValuePart(lines->at(i).Text) : Default;
}

void TznIniFile::MarkChanged()
{
    Modified = true;
    rewrite = true;
}

void TznIniFile::WriteString(const QByteArray& Section, const QByteArray& Ident, const QByteArray& Value)
{
    if (Ident.isEmpty()) {
        if (Section.isEmpty() && Value.isEmpty())
            UpdateFile();
        else
            EraseSection(Section);
        return;
    }
    const QByteArray line = Ident + '=' + Value;
    TIniLines* lines;
    const qint32 i = FindKey(Section, Ident, lines, true);
    if (i < 0) {
        lines->append(TIniLine{line});
        MarkChanged();
    } else if ((*lines)[i].Text != line) {
        (*lines)[i] = TIniLine{line};
        MarkChanged();
    }
}

qint32 TznIniFile::ReadInteger(const QByteArray& Section, const QByteArray& Ident, qint32 Default)
{
    QByteArray text = ReadString(Section, Ident, QByteArray());
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = '$' + text.mid(2, 255);
    qint32 value;
    return TryStrToInt(text, value) ? value : Default;
}

void TznIniFile::WriteInteger(const QByteArray& Section, const QByteArray& Ident, qint32 Value)
{
    WriteString(Section, Ident, QByteArray::number(Value));
}

bool TznIniFile::ReadBool(const QByteArray& Section, const QByteArray& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TznIniFile::WriteBool(const QByteArray& Section, const QByteArray& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TznIniFile::ReadSection(const QByteArray& Section, QByteArrayList& Strings)
{
    const qint32 i = Sections.IndexOf(Section);
    if (i < 0) return;
    for (const TIniLine& line : *Sections.GetSection(i))
        Strings.append(IniKeyName(line.Text));
}

void TznIniFile::ReadSections(QByteArrayList& Strings)
{
    Strings.clear();
    for (qint32 i = 0; i < Sections.Count(); ++i)
        Strings.append(Sections.Name(i));
}

void TznIniFile::ReadSectionValues(const QByteArray& Section, QByteArrayList& Strings)
{
    const qint32 i = Sections.IndexOf(Section);
    if (i < 0) return;
    QByteArrayList result;
    const TIniLines& lines = *Sections.GetSection(i);
    result.reserve(lines.size() + Strings.size());
    for (const TIniLine& line : lines)
        result.append(line.Text);
    for (const QByteArray& extra : Strings) {
        const QByteArray name = IniKeyName(extra);
        const bool present = std::any_of(result.cbegin(), result.cend(),
                                         [&name](const QByteArray& have) { return SameText(IniKeyName(have), name); });
        if (!present) result.append(extra);
    }
    Strings = result;
}

void TznIniFile::WriteSectionValues(const QByteArray& Section, const QByteArrayList& Strings)
{
    for (const QByteArray& line : Strings)
        WriteString(Section, GetNamePart(line), GetValuePart(line));
}

void TznIniFile::EraseSection(const QByteArray& Section)
{
    const qint32 i = Sections.IndexOf(Section);
    if (i < 0) return;
    Sections.Delete(i);
    Sections.LastIndex = 0;
    CurSection = 0;
    MarkChanged();
}

void TznIniFile::DeleteKey(const QByteArray& Section, const QByteArray& Ident)
{
    TIniLines* lines;
    const qint32 i = FindKey(Section, Ident, lines, true);
    if (i < 0) return;
    const TIniLine line = lines->takeAt(i);
    Modified = true;
    if (line.Begin >= 0)
        deleted.append({line.Begin, line.End});
    else
        rewrite = true;
}

void TznIniFile::SaveToStrings(QByteArrayList& Strings)
{
    for (qint32 s = 0; s < Sections.Count(); ++s) {
        const TIniLines& lines = *Sections.GetSection(s);
        if (lines.isEmpty()) continue;
        Strings.append('[' + Sections.Name(s) + ']');
        for (const TIniLine& line : lines)
            Strings.append(line.Text);
        Strings.append(QByteArray());
    }
}

void TznIniFile::UpdateFile()
{
    if (!Modified) return;
    if (!FileName.isEmpty() && !ReadOnly) {
        if (!Handle.IsOpen()) {
            ForceDirs(ExtractFolderPart(FileName));
            Handle = FileOpenEx(FileName, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
        }
        if (Handle.IsOpen() && FileSeekEx(Handle, 0)) {
            if (!rewrite && haveLoaded)
                WriteLoadedLessDeleted();
            else
                WriteLayout();
        }
    }
    Modified = false;
    deleted.clear();
}

void TznIniFile::WriteLayout()
{
    QByteArrayList lines;
    SaveToStrings(lines);
    for (const QByteArray& line : lines)
        FileWriteLn(Handle, line);
    FileTruncate(Handle);
    // The file is now in our own layout: what it held before is no longer there to keep.
    haveLoaded = false;
    loaded.clear();
}

void TznIniFile::WriteLoadedLessDeleted()
{
    std::sort(deleted.begin(), deleted.end());
    QByteArray bytes;
    bytes.reserve(loaded.size());
    qint64 from = 0;
    for (const auto& range : deleted) {
        bytes.append(loaded.constData() + from, range.first - from);
        from = range.second;
    }
    bytes.append(loaded.constData() + from, loaded.size() - from);
    if (!FileWriteEx(Handle, bytes) || !FileTruncate(Handle)) {
        haveLoaded = false;
        return;
    }
    // The lines still held now stand earlier in the file, by what was cut out before them.
    for (qint32 s = 0; s < Sections.Count(); ++s) {
        for (TIniLine& line : *Sections.GetSection(s)) {
            qint64 shift = 0;
            for (const auto& range : deleted) {
                if (range.second <= line.Begin) shift += range.second - range.first;
            }
            line.Begin -= shift;
            line.End -= shift;
        }
    }
    loaded = bytes;
}
