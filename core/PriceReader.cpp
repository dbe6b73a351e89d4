#include "core/PriceReader.h"

std::optional<double> ReadZonePrice(const QString& text)
{
    const QString t = text.trimmed();
    QByteArray number;
    bool separator = false, digits = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= '0' && c <= '9') {
            number += char(c.unicode());
            digits = true;
        } else if ((c == ',' || c == '.') && !separator) {
            number += '.';
            separator = true;
        } else if ((c == '-' || c == '+') && i == 0) {
            number += char(c.unicode());
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    bool ok = false;
    const double value = QString::fromLatin1(number).toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}
