#pragma once
// Single keys of a tariff file as the counter page reads them: the last matching line wins.
#include <QString>

bool GetVolumenabrechnung(const QString& tariffFile);
float GetVolumenkosten(const QString& tariffFile);
float GetGrundgebuehr(const QString& tariffFile); // currency units
float GetVolumeneinheit(const QString& tariffFile); // megabytes
QString GetActualTakt(const QString& tariffFile);  // e.g. "60 / 60"

// The volume carry-over of a tariff: Prerun/<tariff without extension>.dat, KB not yet used.
float LoadVolumeCarry(const QString& tariffFile);
void SaveVolumeCarry(const QString& tariffFile, float unitRest);
