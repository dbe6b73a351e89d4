#pragma once
#include <QString>

// Decimal amounts of the data files are written with ',' or '.': the part before a comma is read
// leniently, the comma becomes the decimal point. Unlike the original, "-0,5" keeps its sign.
float ValDecimal(const QString& text);
