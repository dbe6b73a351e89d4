#pragma once
// The month diagram page's kind and type band and what outlives the page: kind 1 "Dauer", 2 "Kosten",
// 3 "Transfer" (per day), 4 "Anbieter", 5 "Benutzer" (pies); type 1 "Linien", 2 "Balken", 3 "Kreis".
#include <QStringList>

#include <array>

// Kept for the whole program run; 0 until the page first chose.
struct ChartState {
    int kind = 0;
    int type = 0;
    int lastLineBarType = 0; // the last of types 1 and 2 chosen, so leaving a pie returns to it
};
ChartState& ChartWindowState();

// The eight buttons: 0-2 the types, 3-7 the kinds "Anbieter", "Benutzer", "Dauer", "Kosten", "Transfer".
inline constexpr int CHART_BUTTONS = 8;
QString ChartButtonCaption(int index);
// The selector button of a stored kind (1-5); -1 for any other.
int ChartKindButton(int kind);

// The band's marks and enabling live as long as the page; kind and type go to the run's state. Pie kinds
// pair only with "Kreis", the per-day kinds only with lines or bars.
class ChartSelector {
public:
    enum class TarifEnabling { Keep, Enable, Disable };

    explicit ChartSelector(ChartState& state) : state(state) {}

    void SelectChartType(int index); // 0-2; others are ignored
    // 3-7; `providerChosen`: the provider list shows a provider, not "[Alle]".
    void SelectChartKind(int index, bool providerChosen);
    // A click on button `index`; false when the button is disabled and so ignores it.
    bool Click(int index, bool providerChosen);

    bool marked(int index) const { return index >= 0 && index < CHART_BUTTONS && m_marked[index]; }
    bool enabled(int index) const { return index >= 0 && index < CHART_BUTTONS && m_enabled[index]; }
    bool userAndProviderEnabled() const { return m_listsEnabled; }
    TarifEnabling tarifEnabling() const { return m_tarif; } // what the last kind choice did to the tariff list

    ChartState& state;

private:
    std::array<bool, CHART_BUTTONS> m_marked{false, true, false, false, false, false, true, false};
    std::array<bool, CHART_BUTTONS> m_enabled{true, true, true, true, true, true, true, true};
    bool m_listsEnabled = true;
    TarifEnabling m_tarif = TarifEnabling::Keep;
};

// The year list: 2001 up to the later of 2030 and `thisYear`, so the current year is always there and a
// year's position stays year - 2001.
QStringList ChartYearItems(int thisYear);
