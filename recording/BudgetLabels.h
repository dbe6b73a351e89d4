#pragma once
// Colours and text of the budget and allowance labels of the live counter and the overview page.
#include <QString>

inline constexpr int BUDGET_COLOUR_BLACK = 0;
inline constexpr int BUDGET_COLOUR_DARK_GREEN = 32768;
inline constexpr int BUDGET_COLOUR_DARK_RED = 128;
inline constexpr int BUDGET_COLOUR_NEGATIVE_BUDGET = 192; // the overview's own red for a budget below 0

inline const QString NOT_SET = QStringLiteral("nicht festgelegt");
