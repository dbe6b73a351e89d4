#include "records/ListSort.h"

#include "core/VB.h"

#include <QStringList>

#include <algorithm>

namespace {
enum { Ascending = 1, Descending = 2 };
enum { AsNumber = 100, AsText = 102, AsTime = 200, AsImage = 300 };

bool knownType(int type) { return type == AsNumber || type == AsText || type == AsTime || type == AsImage; }

// A time or a duration as seconds; hours may exceed 23.
double seconds(const QString& text)
{
    const QStringList parts = text.trimmed().split(':');
    double total = 0;
    for (int i = 0; i < 3; ++i) total = total * 60 + (i < parts.size() ? Val(parts[i]) : 0);
    return total;
}

struct SortValue {
    double number = 0;
    QString text;
};

SortValue valueOf(const QString& cell, int type)
{
    switch (type) {
    case AsText:
        return {0, cell};
    case AsTime:
        return {seconds(cell), {}};
    default:
        return {Val(QString(cell).replace(',', '.')), {}};
    }
}

int compare(const SortValue& a, const SortValue& b, int type)
{
    if (type == AsText) return a.text.compare(b.text, Qt::CaseInsensitive);
    return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
}
} // namespace

ListSortKey ListColumnClickSort(int column)
{
    int type = AsText;
    if (column == 1) type = AsImage;
    else if (column == 2 || (column >= 6 && column <= 9)) type = AsNumber;
    else if (column == 3 || column == 4) type = AsTime;
    return {column, Descending, type};
}

QList<ListSortKey> ListSortKeys(const ListSortKey& remembered)
{
    if (remembered.column < 1 || remembered.column > 15 || !knownType(remembered.type) ||
        (remembered.order != Ascending && remembered.order != Descending))
        return {};
    if (remembered.column == 2) return {{15, remembered.order, remembered.type}, {3, Descending, AsTime}};
    return {remembered};
}

void SortListRows(std::vector<int>& rows, const QList<ListSortKey>& keys,
                  const std::function<QString(int row, int column)>& cell)
{
    if (keys.isEmpty() || rows.size() < 2) return;
    // the values are taken once per row, not once per comparison
    const int width = int(keys.size());
    int highest = 0;
    for (int row : rows) highest = std::max(highest, row);
    std::vector<SortValue> values(size_t(highest + 1) * width);
    for (int row : rows)
        for (int k = 0; k < width; ++k) values[size_t(row) * width + k] = valueOf(cell(row, keys[k].column), keys[k].type);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        for (int k = 0; k < width; ++k) {
            const int c = compare(values[size_t(a) * width + k], values[size_t(b) * width + k], keys[k].type);
            if (c != 0) return keys[k].order == Descending ? c > 0 : c < 0;
        }
        return false;
    });
}
