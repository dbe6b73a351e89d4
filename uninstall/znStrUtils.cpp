#include "znStrUtils.h"

#include <QStringDecoder>

QByteArray ReplaceStr(const QByteArray& S, const QByteArray& Find, const QByteArray& Replace)
{
    if (Find.isEmpty()) return S;
    QByteArray result;
    qsizetype from = 0;
    for (qsizetype at = S.indexOf(Find); at >= 0; at = S.indexOf(Find, from)) {
        result += S.mid(from, at - from) + Replace;
        from = at + Find.size();
    }
    return result + S.mid(from);
}

QByteArray DelChars(const QByteArray& S, char Ch)
{
    QByteArray result = S;
    result.replace(QByteArray(1, Ch), QByteArray());
    return result;
}

QByteArray PadLeft(char Ch, const QByteArray& S, qint32 Len)
{
    return S.size() < Len ? QByteArray(Len - S.size(), Ch) + S : S;
}

QByteArray CopyBefore(const QByteArray& S, char Ch)
{
    const qsizetype at = S.indexOf(Ch);
    return at < 0 ? S : S.left(at);
}

QByteArray StrBefore(const QByteArray& S, char Ch)
{
    return CopyBefore(S, Ch);
}

QByteArray CopyAfter(const QByteArray& S, char Ch)
{
    const qsizetype at = S.indexOf(Ch);
    return at < 0 ? QByteArray() : S.mid(at + 1);
}

QByteArray GetNamePart(const QByteArray& S)
{
    return StrBefore(S, '=');
}

QByteArray GetValuePart(const QByteArray& S)
{
    return CopyAfter(S, '=');
}

QByteArray UnquoteStr(const QByteArray& S, char Quote)
{
    if (S.isEmpty() || S[0] != Quote) return S;
    QByteArray result;
    for (qsizetype i = 1; i < S.size(); ++i) {
        if (S[i] != Quote) {
            result += S[i];
        } else if (i + 1 < S.size() && S[i + 1] == Quote) {
            result += Quote;
            ++i;
        } else {
            break;
        }
    }
    return result;
}

QByteArray IntToBase(qint32 Value, quint8 Width, quint8 Base)
{
    if (Value < 0) return QByteArray();
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QByteArray result;
    do {
        result.prepend(digits[Value % Base]);
        Value /= Base;
    } while (Value != 0);
    return PadLeft('0', result, Width);
}

namespace {

// The field scanner's quote rule: either quote character opens, only the same one closes; returns
// true for a delimiter outside quotes.
bool FieldDelimiter(char C, char& Open, const QByteArray& Delims)
{
    if (Open != 0) {
        if (C == Open) Open = 0;
        return false;
    }
    if (C == '"' || C == '\'') {
        Open = C;
        return false;
    }
    return Delims.contains(C);
}

} // namespace

QByteArray ExtractField(qint32 N, const QByteArray& S, const QByteArray& Delims)
{
    qsizetype i = 0;
    char open = 0;
    for (qint32 field = 1; field < N && i < S.size(); ++i) {
        if (FieldDelimiter(S[i], open, Delims)) ++field;
    }
    QByteArray field;
    for (open = 0; i < S.size() && !FieldDelimiter(S[i], open, Delims); ++i)
        field += S[i];
    return UnquoteStr(field, '\'');
}

bool TryStrToInt(const QByteArray& S, qint32& Value)
{
    qsizetype i = 0;
    while (i < S.size() && S[i] == ' ')
        ++i;
    bool negative = false;
    if (i < S.size() && (S[i] == '-' || S[i] == '+')) negative = S[i++] == '-';
    const bool hex = i < S.size() && S[i] == '$';
    if (hex) ++i;
    if (i >= S.size()) return false;
    const quint64 limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 n = 0;
    for (; i < S.size(); ++i) {
        const char c = S[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        n = n * (hex ? 16 : 10) + digit;
        if (n > limit) return false;
    }
    const quint32 bits = quint32(n);
    Value = qint32(negative ? 0u - bits : bits);
    return true;
}

unsigned char AnsiUpperByte(unsigned char C)
{
    if ((C >= 'a' && C <= 'z') || (C >= 0xE0 && C <= 0xFE && C != 0xF7)) return C - 0x20;
    switch (C) {
    case 0x9A:
        return 0x8A; // š
    case 0x9C:
        return 0x8C; // œ
    case 0x9E:
        return 0x8E; // ž
    case 0xFF:
        return 0x9F; // ÿ
    default:
        return C;
    }
}

QByteArray AnsiUpperCase(const QByteArray& S)
{
    QByteArray result = S;
    for (char& c : result)
        c = char(AnsiUpperByte(static_cast<unsigned char>(c)));
    return result;
}

int CompareText(const QByteArray& A, const QByteArray& B)
{
    const qsizetype n = qMin(A.size(), B.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int a = AnsiUpperByte(static_cast<unsigned char>(A[i]));
        const int b = AnsiUpperByte(static_cast<unsigned char>(B[i]));
        if (a != b) return a - b;
    }
    return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

bool SameText(const QByteArray& A, const QByteArray& B)
{
    return A.size() == B.size() && CompareText(A, B) == 0;
}

namespace {

char16_t UpperPathChar(char16_t C)
{
    if ((C >= u'a' && C <= u'z') || (C >= 0xE0 && C <= 0xFE && C != 0xF7)) return C - 0x20;
    switch (C) {
    case 0x161:
        return 0x160;
    case 0x153:
        return 0x152;
    case 0x17E:
        return 0x17D;
    case 0xFF:
        return 0x178;
    default:
        return C;
    }
}

} // namespace

int ComparePathText(const QString& A, const QString& B)
{
    const qsizetype n = qMin(A.size(), B.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int a = UpperPathChar(A[i].unicode());
        const int b = UpperPathChar(B[i].unicode());
        if (a != b) return a - b;
    }
    if (A.size() != B.size()) return A.size() < B.size() ? -1 : 1;
    return A.compare(B);
}

QString AnsiToString(const QByteArray& S)
{
    QStringDecoder decoder("windows-1252");
    return decoder.decode(S);
}
