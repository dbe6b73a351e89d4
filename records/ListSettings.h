#pragma once
// Config/List.cfg: the connection list's period, filters, net mode, remembered sort and column layout.
// Lines: 1 period index, 2-4 user, provider and tariff texts, 5 net mode 0/1, 6-8 sort column, order and
// type codes, then for columns 1 to 13 two lines each: the column's display position (0 = leftmost),
// then its width in pixels. Numbers in print form (" 2").
#include "records/ListSort.h"

#include <QString>

#include <array>
#include <optional>

inline constexpr int LIST_SETTING_COLUMNS = 13;

struct ListSettings {
    int period = 0;
    QString user, provider, tariff;
    bool net = false;
    ListSortKey sort; // column 0, order 0, type 0 while no header was ever clicked
    std::array<int, LIST_SETTING_COLUMNS> positions{};
    std::array<int, LIST_SETTING_COLUMNS> widths{};
};

// What a stored file gives: each value only while the file has its line and the line is usable; a
// period outside 0-9, a net mode other than 0 or 1, a position outside 0-12 and a width below 1 are
// passed over.
struct StoredListSettings {
    std::optional<int> period;
    std::optional<QString> user, provider, tariff; // blanks around removed
    std::optional<bool> net;
    std::optional<ListSortKey> sort;
    std::array<std::optional<int>, LIST_SETTING_COLUMNS> positions;
    std::array<std::optional<int>, LIST_SETTING_COLUMNS> widths;
};

QString ListSettingsPath();
// A missing or unreadable file gives nothing.
StoredListSettings ReadListSettings();
// Rewrites the whole file; false when it could not be written (a filter text outside the code page).
bool WriteListSettings(const ListSettings& settings);
