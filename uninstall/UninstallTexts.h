#pragma once

#include <QByteArray>

// The uninstaller's own texts and the title font of its header, both overridable from the log.

enum : int { TextFailed = 24, TextNotRemoved = 25, TextLogDamaged = 26 };

// The built-in text of an id; empty for an unknown id.
QByteArray DefaultText(int Id);

enum : quint8 { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFontSpec {
    QByteArray Name;
    qint32 Size = 8;
    qint32 Color = 0; // 0x00BBGGRR
    quint8 Style = 0;
};

struct TLogFont {
    qint32 Height = 0; // negative: the character height in pixels
    qint32 Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    qint32 CharSet = 1;
    QByteArray FaceName;
};

TFontSpec ParseFontSpec(const QByteArray& Spec);
TLogFont MakeLogFont(const QByteArray& Name, qint32 Size, quint8 Style, qint32 CharSet, qint32 PixelsPerInch);
// Number * Numerator / Denominator rounded half away from zero; -1 for a zero denominator.
qint32 MulDiv(qint32 Number, qint32 Numerator, qint32 Denominator);
