#pragma once
// Fixed-width columns for plain-text tables (the text export, the pie legend).
#include <QString>

// Cut at the end or padded with blanks to exactly `width` characters.
QString LeftAlign(const QString& text, int width);
// The same, the blanks put in front.
QString RightAlign(const QString& text, int width);
