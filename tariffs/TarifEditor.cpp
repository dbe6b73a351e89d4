#include "tariffs/TarifEditor.h"

#include "core/Clock.h"
#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TariffPrices.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {
bool nameAccepted(const QString& name) { return !name.isEmpty() && name.size() <= 250 && IsValidFileName(name); }

// Zone entries hold fixed columns: hours at 6-7 and 14-15, the price from 25 to the blank before the kind.
constexpr int FROM_COLUMN = 5, TO_COLUMN = 13, PRICE_COLUMN = 24;

QString hourText(int hour) { return FormatDouble(qBound(0, hour, 24), "00"); }
// No typed hour gives it, so an entry holding it is one of the file's.
const QString REFUSED_HOUR = QStringLiteral("??");

// The seconds of the first unit and of every further one. Both are whole: a fraction below 0,0001 would be
// written with an exponent. No first unit gives 60 / 60, no further unit 60.
struct Takt {
    double first = 60;
    double rest = 60;
    QString text() const { return GeneralDouble(first) + " / " + GeneralDouble(rest); }
};

Takt taktOf(const QString& text)
{
    const qsizetype slash = text.indexOf('/');
    Takt t;
    t.first = std::floor(Val(text));
    t.rest = slash < 0 ? 0 : std::floor(Val(text.mid(slash + 1)));
    if (t.first == 0) return Takt{};
    if (t.rest == 0) t.rest = 60;
    return t;
}

// The price of a zone list entry: from its fixed column to the blank before the kind.
QString entryPrice(const QString& entry)
{
    return entry.mid(PRICE_COLUMN, entry.lastIndexOf(' ') - PRICE_COLUMN);
}
} // namespace

CheckedInput LeaveTarifField(TarifInput field, const QString& typed)
{
    switch (field) {
    case TarifInput::Fee:
    case TarifInput::VolumeUnit:
        return TypedPlainSingle(typed, AMOUNT_RANGE);
    case TarifInput::FreeAllowance:
        return TypedWhole(typed, COUNT_RANGE);
    case TarifInput::ZoneHour:
        return TypedWhole(typed, HOUR_RANGE);
    case TarifInput::Price:
        return TypedPlainSingle(typed, PRICE_RANGE);
    case TarifInput::Takt:
        break;
    }
    const Takt t = taktOf(typed);
    const CheckedInput first = WithinRange(t.first, UNIT_LENGTH_RANGE, QString());
    return first.refused() ? first : WithinRange(t.rest, UNIT_LENGTH_RANGE, t.text());
}

QString ZoneEntry(const QString& from, const QString& to, const QString& price, bool weekend)
{
    if (from.isEmpty() || to.isEmpty() || price.isEmpty()) return {};
    const double a = Val(from), b = Val(to);
    if (a < 0 || a > 24 || b < 0 || b > 24) return {};
    return "Von: " + FormatDouble(a, "00") + " Bis: " + FormatDouble(b, "00") + " Kosten: " + price +
           (weekend ? " Wochenende" : " Werktag");
}

TarifSaveCheck CheckTarifSave(TarifFields* f)
{
    if (!nameAccepted(f->provider) || !nameAccepted(f->tariff)) return TarifSaveCheck::Names;
    const auto fill = [](QString& field, const char* text) {
        if (field.isEmpty()) field = QString::fromLatin1(text);
    };
    fill(f->baseFee, "0");
    fill(f->minimumTurnover, "0");
    fill(f->freeAllowance, "0");
    fill(f->takt, "60/60");
    fill(f->callBaseFee, "0");
    fill(f->volumePrice, "0");
    fill(f->volumeUnit, "1");
    if (!f->volumeBilling && !f->zones.isEmpty()) {
        bool weekend = false;
        for (const QString& entry : f->zones) weekend = weekend || entry.endsWith(QLatin1String("Wochenende"));
        if (!weekend) return TarifSaveCheck::Weekend;
    }
    return TarifSaveCheck::Ok;
}

TarifFile TarifFromFields(const TarifFields& f)
{
    TarifFile t = TarifFile::New(f.provider, f.tariff);
    if (f.keepsValues) {
        t.validity = f.validity;
        t.dialNumber = f.dialNumber;
        t.userName = f.userName;
        t.password = f.password;
        t.secondExact = f.secondExact;
        t.secondSteps = f.secondSteps;
    }
    t.baseFee = f.baseFee;
    t.minimumTurnover = f.minimumTurnover;
    t.freeAllowance = f.freeAllowance;
    t.takt = f.takt;
    t.callBaseFee = f.callBaseFee;
    // A changed tariff's volume price keeps its text when left; a value outside the range can only come
    // from the file and stays as it was.
    if (BeyondSingleRange(f.volumePrice))
        t.volumeCentsBeyond = f.volumePrice;
    else
        t.volumeCents = ToCents(ReadTariffNumber(f.volumePrice));
    t.volumeUnit = f.volumeUnit;
    t.registration = f.registration;
    t.nationwide = f.nationwide;
    t.channelBundling = f.channelBundling;
    t.flatrate = f.flatrate;
    t.volumeBilling = f.volumeBilling;
    QList<TarifFields::RefusedHours> refusedHours = f.refusedHours;
    for (const QString& entry : f.zones) {
        TarifZone z;
        z.from = CInt(Val(entry.mid(FROM_COLUMN, 2)));
        z.to = CInt(Val(entry.mid(TO_COLUMN, 2)));
        // an hour the readers refuse comes only from the file, and its zone stays refused
        const auto refused = std::find_if(refusedHours.begin(), refusedHours.end(),
                                          [&entry](const TarifFields::RefusedHours& r) { return r.entry == entry; });
        if (refused != refusedHours.end()) {
            z.refusedFrom = refused->from;
            z.refusedTo = refused->to;
            refusedHours.erase(refused);
        }
        // a price the readers refuse comes only from the file and is written back as it was
        const QString price = entryPrice(entry);
        if (ReadTariffZonePrice(price))
            z.cents = ToCents(ReadTariffNumber(price));
        else
            z.refusedPrice = price;
        z.weekend = !entry.endsWith(QLatin1String("Werktag"));
        t.zones << z;
    }
    return t;
}

TarifFields FieldsFromTarif(const TarifFile& t)
{
    TarifFields f;
    f.provider = t.provider;
    f.tariff = t.tariff;
    f.keepsValues = true;
    f.validity = t.validity;
    f.dialNumber = t.dialNumber;
    f.userName = t.userName;
    f.password = t.password;
    f.secondExact = t.secondExact;
    f.secondSteps = t.secondSteps;
    f.volumeBilling = t.volumeBilling;
    // as written, unless the general form's exponent would read as its leading digits when left
    f.volumeUnit = HasTariffExponent(t.volumeUnit) ? PlainDecimal(t.volumeUnit) : t.volumeUnit;
    f.freeAllowance = t.freeAllowance;
    f.volumePrice = t.volumeCentsBeyond.isEmpty() ? PlainSingle(FromCents(t.volumeCents)) : t.volumeCentsBeyond;
    f.channelBundling = t.channelBundling;
    f.registration = t.registration;
    f.baseFee = PlainDecimal(t.baseFee);
    f.callBaseFee = PlainDecimal(t.callBaseFee);
    f.minimumTurnover = PlainDecimal(t.minimumTurnover);
    f.nationwide = t.nationwide;
    f.flatrate = t.flatrate;
    f.takt = t.takt;
    // a downloaded file's hour beyond 0-24 would break the entry's fixed columns
    for (const TarifZone& z : t.zones) {
        const QString entry = "Von: " + (z.refusedFrom ? REFUSED_HOUR : hourText(z.from)) +
                              " Bis: " + (z.refusedTo ? REFUSED_HOUR : hourText(z.to)) +
                              " Kosten: " + z.refusedPrice.value_or(PlainSingle(FromCents(z.cents))) +
                              (z.weekend ? " Wochenende" : " Werktag");
        f.zones << entry;
        if (z.refusedFrom || z.refusedTo)
            f.refusedHours << TarifFields::RefusedHours{entry, z.refusedFrom, z.refusedTo};
    }
    return f;
}

TarifSaveResult SaveTarif(TarifFields* fields, const QString& oldFileName)
{
    switch (CheckTarifSave(fields)) {
    case TarifSaveCheck::Names: return TarifSaveResult::Names;
    case TarifSaveCheck::Weekend: return TarifSaveResult::Weekend;
    case TarifSaveCheck::Ok: break;
    }
    const TarifFile tarif = TarifFromFields(*fields);
    // the writer replaces a file of the name in another case, as the original's file system did
    const QString written = QFileInfo(ProgramPath("Tarife/" + tarif.fileName())).fileName();
    if (!WriteTarifFile(tarif)) return TarifSaveResult::WriteFailed;
    const QString folder = ProgramPath("Tarife");
    const QString old = oldFileName.isEmpty() || !IsSafeName(oldFileName) ? QString()
                                                                          : FindFileNoCase(folder, oldFileName);
    if (!old.isEmpty() && old != written) QFile::remove(folder + "/" + old);
    return TarifSaveResult::Saved;
}
