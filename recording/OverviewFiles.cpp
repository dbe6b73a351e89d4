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
        return GeneralSingle(ReadTariffNumber(lines->at(i + 2).mid(15))) + "MB";
    }
    return QStringLiteral("Minute");
}

QString TarifPriceText(const QString& tariffFile, const QString& unit)
{
    return CurrentPriceText(tariffFile) + " pro " + unit;
}

QString LoadNoteText()
{
    // A text box takes a CR for a line break: a CR of the file that ends no line is shown by its symbol,
    // else the next save would drop it or make it a line end.
    return ReadTextLines(ProgramPath("Note.dat")).join('\n').replace('\r', NOTE_CR_SYMBOL);
}

bool NoteFitsCodePage(const QString& note)
{
    for (QChar c : note)
        if (c != NOTE_CR_SYMBOL && Win1252::byteFromChar(c) < 0) return false;
    return true;
}

NoteSaved SaveNoteText(const QString& note)
{
    if (!NoteFitsCodePage(note)) return NoteSaved::NotInCodePage;
    QString text = note;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split('\n');
    for (QString& line : lines)
        line.replace(NOTE_CR_SYMBOL, '\r');
    return WriteTextLines(ProgramPath("Note.dat"), lines) ? NoteSaved::Saved : NoteSaved::Failed;
}
