#include "core/Win1252.h"

namespace {
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}

namespace Win1252 {

QChar charFromByte(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F) return QChar(kHigh[b - 0x80]);
    return QChar(b);
}

int byteFromChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u) return 0x80 + i;
    return -1;
}

QString decode(const QByteArray& bytes)
{
    QString out;
    out.resize(bytes.size());
    for (int i = 0; i < bytes.size(); ++i) out[i] = charFromByte(static_cast<unsigned char>(bytes[i]));
    return out;
}

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.resize(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const int b = byteFromChar(text[i]);
        out[i] = static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}

std::optional<QByteArray> encodeStrict(const QString& text)
{
    for (QChar c : text)
        if (byteFromChar(c) < 0) return std::nullopt;
    return encode(text);
}

} // namespace Win1252
