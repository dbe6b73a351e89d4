#include "analysis/ChartSelector.h"

ChartState& ChartWindowState()
{
    static ChartState state;
    return state;
}

QString ChartButtonCaption(int index)
{
    static const char* const captions[CHART_BUTTONS] = {"Linien",   "Balken", "Kreis",  "Anbieter",
                                                        "Benutzer", "Dauer",  "Kosten", "Transfer"};
    return index >= 0 && index < CHART_BUTTONS ? QString::fromLatin1(captions[index]) : QString();
}

int ChartKindButton(int kind)
{
    if (kind >= 1 && kind <= 3) return kind + 4;
    if (kind == 4 || kind == 5) return kind - 1;
    return -1;
}

void ChartSelector::SelectChartType(int index)
{
    if (index < 0 || index > 2) return;
    for (int i = 0; i <= 2; ++i) m_marked[i] = false;
    m_marked[index] = true;
    state.type = index + 1;
    if (index < 2) state.lastLineBarType = index + 1;
}

void ChartSelector::SelectChartKind(int index, bool providerChosen)
{
    if (index < 3 || index > 7) return;
    for (int i = 2; i < CHART_BUTTONS; ++i) m_marked[i] = false;
    m_marked[index] = true;
    static const int kindOfButton[CHART_BUTTONS] = {0, 0, 0, 4, 5, 1, 2, 3};
    state.kind = kindOfButton[index];
    const bool pie = index <= 4;
    m_listsEnabled = !pie;
    m_tarif = pie ? TarifEnabling::Disable : providerChosen ? TarifEnabling::Enable : TarifEnabling::Keep;
    m_enabled[0] = m_enabled[1] = !pie;
    m_enabled[2] = pie;
    if (pie) SelectChartType(2);
    else SelectChartType(state.lastLineBarType != 0 ? state.lastLineBarType - 1 : 1);
}

bool ChartSelector::Click(int index, bool providerChosen)
{
    if (!enabled(index)) return false;
    if (index <= 2) SelectChartType(index);
    else SelectChartKind(index, providerChosen);
    return true;
}

QStringList ChartYearItems(int thisYear)
{
    QStringList years;
    for (int y = 2001; y <= qMax(2030, thisYear); ++y) years << QString::number(y);
    return years;
}
