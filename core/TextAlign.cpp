#include "core/TextAlign.h"

#include <algorithm>

QString LeftAlign(const QString& text, int width)
{
    const int w = std::max(width, 0);
    return text.left(w).leftJustified(w, QLatin1Char(' '));
}

QString RightAlign(const QString& text, int width)
{
    const int w = std::max(width, 0);
    return text.left(w).rightJustified(w, QLatin1Char(' '));
}
