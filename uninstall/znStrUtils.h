#pragma once

#include <QByteArray>
#include <QString>

// Text routines of the uninstaller. Log texts, INI lines and registry names are Windows-1252 bytes.

template <typename T> T IIf(bool Condition, const T& TrueValue, const T& FalseValue)
{
    return Condition ? TrueValue : FalseValue;
}

QByteArray ReplaceStr(const QByteArray& S, const QByteArray& Find, const QByteArray& Replace);
QByteArray DelChars(const QByteArray& S, char Ch);
QByteArray PadLeft(char Ch, const QByteArray& S, qint32 Len);
QByteArray CopyBefore(const QByteArray& S, char Ch);
QByteArray StrBefore(const QByteArray& S, char Ch);
QByteArray CopyAfter(const QByteArray& S, char Ch);
QByteArray GetNamePart(const QByteArray& S);
QByteArray GetValuePart(const QByteArray& S);
QByteArray UnquoteStr(const QByteArray& S, char Quote);
QByteArray IntToBase(qint32 Value, quint8 Width, quint8 Base);
QByteArray ExtractField(qint32 N, const QByteArray& S, const QByteArray& Delims);

// Signed 32-bit decimal, or hexadecimal after "$"; false for empty text, stray characters or overflow.
bool TryStrToInt(const QByteArray& S, qint32& Value);

// Case folding of Windows-1252 without a locale: ASCII and the code page's letter pairs.
unsigned char AnsiUpperByte(unsigned char C);
QByteArray AnsiUpperCase(const QByteArray& S);
bool SameText(const QByteArray& A, const QByteArray& B);
int CompareText(const QByteArray& A, const QByteArray& B);
// The same folding on decoded text, for file names that left the log.
int ComparePathText(const QString& A, const QString& B);

// The one way a log text becomes a path or a message.
QString AnsiToString(const QByteArray& S);
