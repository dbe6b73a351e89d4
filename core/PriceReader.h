#pragma once
#include <QString>

#include <optional>

// The one strict number conversion of the data files, for zone prices ("Pfennig:") and budget
// amounts: the whole text must be a number, blanks around
// it allowed, an optional sign, digits with at most one ',' or '.' as decimal separator. Anything
// else, the empty text included, is no price; each caller decides what that means.
std::optional<double> ReadZonePrice(const QString& text);
