#pragma once
// Windows-1252 codec: Latin-1 plus the 0x80-0x9F table. The five bytes the code page leaves
// undefined map to the C1 control characters of the same value, so every byte round-trips.
#include <QByteArray>
#include <QString>

#include <optional>

namespace Win1252 {
QString decode(const QByteArray& bytes);
QByteArray encode(const QString& text); // characters outside the code page become '?'
std::optional<QByteArray> encodeStrict(const QString& text); // none when a character is outside the code page
QChar charFromByte(unsigned char b);
int byteFromChar(QChar c); // -1 when the character is not in the code page
} // namespace Win1252
