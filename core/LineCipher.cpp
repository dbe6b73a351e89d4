#include "core/LineCipher.h"

#include "core/VB.h"
#include "core/Win1252.h"

namespace {
// The character's code in the single-byte code page; -1 when it has none.
int code(QChar c) { return Win1252::byteFromChar(c); }
} // namespace

int CipherKeyValue(const QString& key)
{
    if (key.isEmpty()) return 0;
    int k = code(key[0]);
    for (int i = 1; i < key.size(); ++i) {
        const int c = code(key[i]);
        const int p = code(key[i - 1]);
        // the first test is applied twice on purpose: it is part of the format
        if (k - c >= 0 && c <= p) k -= c;
        if (k - c >= 0 && c <= p) k -= c;
        if (c >= k && c >= p) k += c;
        if (c < k && c >= p) k += c;
    }
    return k;
}

QString InterleaveSplit(const QString& text)
{
    QString even, odd;
    for (int i = 0; i < text.size(); ++i) (i % 2 == 1 ? even : odd) += text[i];
    return even + odd;
}

QString InterleaveJoin(const QString& text)
{
    const int h = int(text.size()) / 2;
    const QString even = text.left(h), odd = text.mid(h);
    QString out;
    for (int i = 0; i < odd.size(); ++i) {
        out += odd[i];
        if (i < even.size()) out += even[i];
    }
    return out;
}

QString RotateAtSpaces(const QString& text)
{
    QString t = text;
    int p;
    while ((p = int(t.indexOf(' '))) >= 0) t = t.mid(p + 1) + t.left(p);
    return t;
}

QString EncryptText(const QString& text, QString& key)
{
    if (key.isEmpty()) key = DEFAULT_KEY;
    const int k = CipherKeyValue(key);
    const QString t = InterleaveSplit(text);
    QString spaced;
    for (QChar ch : t) {
        const int c = code(ch);
        if (c < 0) return {};
        const int s = c + k;
        spaced += (s >= 100 ? QString::number(s) : "0" + QString::number(s)) + " ";
    }
    const QString digits = RotateAtSpaces(spaced);
    QString out;
    for (int i = 0; i < digits.size(); i += 2) {
        const int n = i + 1 < digits.size() ? digits.mid(i, 2).toInt() : digits[i].digitValue();
        out += Win1252::charFromByte(static_cast<unsigned char>(100 + n));
    }
    return out;
}

QString DecryptText(const QString& text, QString& key)
{
    if (key.isEmpty()) key = DEFAULT_KEY;
    const int k = CipherKeyValue(key);
    QString digits;
    for (int i = 0; i < text.size(); ++i) {
        const int c = code(text[i]);
        if (c < 0) return {};
        const int n = c - 100;
        const bool last = i == text.size() - 1;
        // "00" formatting as the original: a negative value keeps its sign, which no group survives
        QString s = QString::number(n < 0 ? -n : n);
        if (!last && s.size() < 2) s = "0" + s;
        digits += (n < 0 ? "-" : "") + s;
    }
    QString chars;
    for (int i = 0; i < digits.size(); i += 3) {
        QString group = digits.mid(i, 3);
        if (group.size() == 2) group.insert(1, '0');
        bool ok = false;
        const int g = group.toInt(&ok);
        if (!ok) return {};
        const int c = g - k;
        if (c < 0 || c > 255) return {};
        chars += Win1252::charFromByte(static_cast<unsigned char>(c));
    }
    return InterleaveJoin(chars);
}

QString EncryptString(const QString& value)
{
    if (value.isEmpty()) return {};
    QString key = PROGRAM_KEY;
    return EncryptText(value, key);
}

QString EncryptString(double value) { return EncryptString(GeneralDouble(value)); }
QString EncryptString(float value) { return EncryptString(GeneralSingle(value)); }
QString EncryptString(int value) { return EncryptString(QString::number(value)); }
QString EncryptString(qint64 value) { return EncryptString(QString::number(value)); }

QString DecryptString(const QString& value)
{
    if (value.isEmpty()) return {};
    QString key = PROGRAM_KEY;
    return DecryptText(value, key);
}
