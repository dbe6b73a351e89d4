#pragma once
// The connection list's sort: up to two keys, each a column (1-15), an order code (2 = descending, the
// only one the page sets; 1 ascending) and a type code (100 numbers, 102 text, 200 times and durations,
// 300 the marking image). The codes are stored in Config/List.cfg as they are.
#include <QList>
#include <QString>

#include <functional>
#include <vector>

struct ListSortKey {
    int column = 0; // 0 = no key
    int order = 0;
    int type = 0;
    bool operator==(const ListSortKey& o) const { return column == o.column && order == o.order && type == o.type; }
};

// What a click on the header of `column` remembers: the column itself (2 for the date), order 2 and
// the column's type.
ListSortKey ListColumnClickSort(int column);

// The keys of a remembered sort: the date sorts by the hidden sort date, then by the start time; an
// unknown column, order or type gives no key.
QList<ListSortKey> ListSortKeys(const ListSortKey& remembered);

// Sorts the row numbers stably by the keys; `cell(row, column)` gives a cell's text (for the marking
// column the image number).
void SortListRows(std::vector<int>& rows, const QList<ListSortKey>& keys,
                  const std::function<QString(int row, int column)>& cell);
