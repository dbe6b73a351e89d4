#pragma once
// The month diagram's last view, Config/Chart.cfg: seven lines, month and year as list positions, the
// user, provider and tariff item as the lists' texts, then kind and type.
#include <QString>

#include <optional>

// What the page saves.
struct ChartSettings {
    int month = -1; // list position of comZeitraum (0 = "Januar"); -1 nothing chosen
    int year = -1;  // list position of comJahr (0 = "2001")
    QString user, provider, tarif;
    int kind = 0; // 1 "Dauer", 2 "Kosten", 3 "Transfer", 4 "Anbieter", 5 "Benutzer"
    int type = 0; // 1 "Linien", 2 "Balken", 3 "Kreis"
};

// Writes the file anew; false when it could not be written, which the page does not report (the view the
// user chose stays in effect either way).
bool SaveChartConfig(const ChartSettings& settings);

// What the file holds, line by line; a line the file does not reach, or whose number does not fit, is
// absent and leaves that part of the page as it is. Whether a position or text names a list item is the
// page's to check when it selects it: one that does not is skipped alone.
struct StoredChartSettings {
    std::optional<int> month; // a position, never negative
    std::optional<int> year;
    std::optional<QString> user, provider, tarif; // blanks around removed; selects the item of exactly that text
    int kind = 0; // 0 when absent or outside 1-5: the page's default applies
    int type = 0; // 0 when absent or outside 1-3
};

// Reads the file; nothing when there is none.
std::optional<StoredChartSettings> LoadChartConfig();
