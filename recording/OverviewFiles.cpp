#include "recording/OverviewFiles.h"

#include "core/FileList.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "core/Win1252.h"

OverviewChoices ReadOverviewChoices()
{
    OverviewChoices c;
    const LineReader f(ProgramPath("Config/Overview.cfg"));
    c.exists = f.exists();
    c.entry = f.line(0);
    c.user = f.line(1);
    c.provider = f.line(2);
    c.tariff = f.line(3);
    return c;
}

bool SaveOverviewChoices(const OverviewChoices& c)
{
    return WriteTextLines(ProgramPath("Config/Overview.cfg"), {c.entry, c.user, c.provider, c.tariff});
}

QString GetTarifUnit(const QString& tariffFile)
{
    const std::optional<QStringList> lines = ReadTariffLines(tariffFile);
    if (!lines) return QStringLiteral("Minute");
    // The unit stands by position: the second line after the volume switch, from its 16th character.
    for (qsizetype i = 0; i < lines->size(); ++i) {
        if (lines->at(i).toLower() != QLatin1String("volumenabrechnung:ja")) continue;
        if (i + 2 >= lines->size()) return QStringLiteral("Minute");
        return GeneralSingle(ValDecimal(lines->at(i + 2).mid(15))) + "MB";
    }
    return QStringLiteral("Minute");
}

QString TarifPriceText(const QString& tariffFile, const QString& unit)
{
    return CurrentPriceText(tariffFile) + " pro " + unit;
}

QString LoadNoteText()
{
    return ReadTextLines(ProgramPath("Note.dat")).join('\n');
}

NoteSaved SaveNoteText(const QString& note)
{
    for (QChar c : note)
        if (Win1252::byteFromChar(c) < 0) return NoteSaved::NotInCodePage;
    QString text = note;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return WriteTextLines(ProgramPath("Note.dat"), text.split('\n')) ? NoteSaved::Saved : NoteSaved::Failed;
}
