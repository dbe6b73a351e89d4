#include "recording/TariffKeys.h"

#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"

namespace {
QStringList tariffLines(const QString& tariffFile) { return ReadTariffLines(tariffFile).value_or(QStringList()); }

// The rest of the last line that begins with the key; `found` tells whether there was one.
QString lastValue(const QString& tariffFile, const QString& key, bool lowerCase, bool* found = nullptr)
{
    QString value;
    bool any = false;
    for (const QString& line : tariffLines(tariffFile)) {
        const QString head = line.left(key.size());
        if ((lowerCase ? head.toLower() : head) == key) {
            value = line.mid(key.size());
            any = true;
        }
    }
    if (found) *found = any;
    return value;
}

QString carryName(const QString& tariffFile) { return "Prerun/" + tariffFile.left(tariffFile.size() - 4) + ".dat"; }
} // namespace

bool GetVolumenabrechnung(const QString& tariffFile)
{
    const QString key = "Volumenabrechnung:";
    for (const QString& line : tariffLines(tariffFile))
        if (line.startsWith(key) && line.mid(key.size()).trimmed().toLower() == "ja") return true;
    return false;
}

float GetVolumenkosten(const QString& tariffFile)
{
    return ReadTariffNumber(lastValue(tariffFile, "Volumenkosten:", false));
}

float GetGrundgebuehr(const QString& tariffFile)
{
    return ReadTariffNumber(lastValue(tariffFile, QStringLiteral("Gesprächsgrundgebühr:"), false)) / 100;
}

float GetVolumeneinheit(const QString& tariffFile)
{
    return ReadTariffNumber(lastValue(tariffFile, "volumeneinheit:", true));
}

QString GetActualTakt(const QString& tariffFile) { return lastValue(tariffFile, "Takt:", false); }

float LoadVolumeCarry(const QString& tariffFile)
{
    if (!IsSafeName(tariffFile)) return 0;
    const LineReader f(ProgramPath(carryName(tariffFile)));
    return f.exists() ? ValDecimal(f.line(0)) : 0;
}

void SaveVolumeCarry(const QString& tariffFile, float unitRest)
{
    if (!IsSafeName(tariffFile)) return;
    // print form: a leading blank for a non-negative value, the locale's decimal separator
    WriteTextLines(ProgramPath(carryName(tariffFile)), {(unitRest < 0 ? "" : " ") + GeneralSingle(unitRest)});
}
