#pragma once
// The reversible line cipher of the record, user and dial-up credential files. Every step is part of
// the file format: a line must decipher character for character to what was enciphered.
#include <QString>

inline const QString PROGRAM_KEY = QStringLiteral("pLum7Vex4Q");
inline const QString DEFAULT_KEY = QStringLiteral("SilverCanoe");

// One value to one enciphered line; an empty value gives the empty line. Numbers are enciphered in
// their general form (decimal comma).
QString EncryptString(const QString& value);
QString EncryptString(double value);
QString EncryptString(float value);
QString EncryptString(int value);
QString EncryptString(qint64 value);
QString DecryptString(const QString& value);

// The cipher proper; an empty key is replaced by the default key (also in the caller's variable).
// Any failure gives the empty text.
QString EncryptText(const QString& text, QString& key);
QString DecryptText(const QString& text, QString& key);

int CipherKeyValue(const QString& key);
QString InterleaveSplit(const QString& text);
QString InterleaveJoin(const QString& text);
QString RotateAtSpaces(const QString& text);
