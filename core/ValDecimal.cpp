#include "core/ValDecimal.h"

#include "core/VB.h"

float ValDecimal(const QString& text)
{
    const qsizetype comma = text.indexOf(',');
    if (comma < 0) return float(Val(text));
    const QString before = text.left(comma);
    const double whole = Val(before);
    // The whole part goes back through text, as the original does; Str writes '.' as the point.
    const double value = Val(Str(whole) + "." + text.mid(comma + 1));
    if (whole == 0 && value > 0 && before.trimmed().startsWith('-')) return float(-value);
    return float(value);
}
