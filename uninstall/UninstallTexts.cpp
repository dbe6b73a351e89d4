#include "UninstallTexts.h"

#include "znStrUtils.h"

#include <cstdlib>

QByteArray DefaultText(int Id)
{
    switch (Id) {
    case 1:
        return "Uninstall application";
    case 3:
        return "Installation log file %s not found!";
    case 4:
        return "Are you sure you want to completely remove the selected application and all of its components?";
    case 5:
        return "Application uninstall finished.";
    case 6:
        return "Removing files...";
    case 7:
        return "Removing registry values...";
    case 8:
        return "Removing registry keys...";
    case 9:
        return "Removing ini entries...";
    case 10:
        return "Removing shortcuts...";
    case 11:
        return "Removing directories...";
    case 12:
        return "Unregister OLE servers...";
    case 13:
        return "Unregister fonts...";
    case 14:
        return "Checking shared files...";
    case 15:
        return "Remove shared file?";
    case 16:
        return "The system indicates that the following shared file is no longer used by any programs.  If any "
               "programs are still using this file and it is removed, those programs may not function.  Are you sure "
               "you want to remove the shared file?||||Leaving this file will not harm your system.  If you are not "
               "sure what to do, it is suggested that you choose to not remove this shared component.";
    case 17:
        return "File name:";
    case 18:
        return "Located in:";
    case 19:
        return "Yes";
    case 20:
        return "Yes to all";
    case 21:
        return "No";
    case 22:
        return "No to all";
    case 23:
        return "Close";
    case TextFailed:
        return "failed";
    case TextNotRemoved:
        return "Not removed: %s";
    case TextLogDamaged:
        return "Installation log file %s is empty or damaged!";
    default:
        return QByteArray();
    }
}

TFontSpec ParseFontSpec(const QByteArray& Spec)
{
    TFontSpec font;
    font.Name = ExtractField(1, Spec, ",");
    if (!TryStrToInt(ExtractField(2, Spec, ","), font.Size)) font.Size = 8;
    if (!TryStrToInt(ExtractField(3, Spec, ","), font.Color)) font.Color = 0;
    for (const char c : ExtractField(4, Spec, ",")) {
        if (c == 'B') font.Style |= fsBold;
        if (c == 'I') font.Style |= fsItalic;
        if (c == 'U') font.Style |= fsUnderline;
        if (c == 'S') font.Style |= fsStrikeOut;
    }
    return font;
}

qint32 MulDiv(qint32 Number, qint32 Numerator, qint32 Denominator)
{
    if (Denominator == 0) return -1;
    const qint64 product = qint64(Number) * Numerator;
    const qint64 half = std::llabs(Denominator) / 2;
    const bool negative = (product < 0) != (Denominator < 0);
    const qint64 quotient = (std::llabs(product) + half) / std::llabs(Denominator);
    const qint64 result = negative ? -quotient : quotient;
    return result > INT32_MAX || result < INT32_MIN ? -1 : qint32(result);
}

TLogFont MakeLogFont(const QByteArray& Name, qint32 Size, quint8 Style, qint32 CharSet, qint32 PixelsPerInch)
{
    TLogFont font;
    font.Height = -MulDiv(Size, PixelsPerInch, 72);
    font.Weight = (Style & fsBold) ? 700 : 400;
    font.Italic = Style & fsItalic;
    font.Underline = Style & fsUnderline;
    font.StrikeOut = Style & fsStrikeOut;
    font.CharSet = CharSet;
    font.FaceName = Name.left(31); // the face name field holds 31 characters
    return font;
}
