#include "tariffs/TarifFile.h"

#include "core/Clock.h"
#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "core/TimeRoutines.h"

#include <optional>

namespace {
QString orDefault(const QString& text, const char* fallback)
{
    return text.isEmpty() ? QString::fromLatin1(fallback) : text;
}

QString yesNo(bool value) { return value ? QStringLiteral("Ja") : QStringLiteral("Nein"); }

QString kindExtension(QChar kind)
{
    if (kind == 'A') return QStringLiteral(".atl");
    if (kind == 'M') return QStringLiteral(".tel");
    return {};
}

// The tariff files of Tarife in folder order; anything else there, such as the temporary file an
// interrupted write leaves ("X - y.tel.AbCdEf"), is no tariff.
QStringList tariffFiles()
{
    QStringList out;
    for (const QString& name : ListFolder(ProgramPath("Tarife"))) {
        const QString ext = name.right(4).toLower();
        if (ext == QLatin1String(".atl") || ext == QLatin1String(".tel")) out << name;
    }
    return out;
}
} // namespace

TarifFile TarifFile::New(const QString& provider, const QString& tariff)
{
    TarifFile t;
    t.provider = provider;
    t.tariff = tariff;
    t.validity = ShortDate(Today());
    return t;
}

QString TarifFile::fileName() const { return provider + " - " + tariff + ".tel"; }

float ToCents(float currencyUnits) { return ScaleDecimal(currencyUnits, 2); }
float FromCents(float cents) { return ScaleDecimal(cents, -2); }

QStringList TarifFileLines(const TarifFile& t)
{
    QStringList l;
    l << "[Providerdaten]"
      << "Name:" + t.provider + " - " + t.tariff << QString::fromUtf8("Grundgebühr:") + orDefault(t.baseFee, "0")
      << (t.nationwide ? "Region:bundesweit" : "Region:regional") << QString::fromUtf8("Gültigkeit:") + t.validity
      << QString::fromUtf8(t.registration ? "Anmeldung:nötig" : "Anmeldung:nicht nötig")
      << "Einwahlnummer:" + t.dialNumber << "Username:" + t.userName << "Password:" + t.password
      << "Flatrate:" + yesNo(t.flatrate) << "Volumenabrechnung:" + yesNo(t.volumeBilling)
      << "Volumenkosten:" + (t.volumeCentsBeyond.isEmpty() ? PlainSingle(t.volumeCents) : t.volumeCentsBeyond)
      << "Volumeneinheit:" + orDefault(t.volumeUnit, "1")
      << "Volumengrenze:" + (t.volumeBilling ? orDefault(t.freeAllowance, "0") : QStringLiteral("0"))
      << "Mindestumsatz:" + orDefault(t.minimumTurnover, "0")
      << "Freiminuten:" + (t.volumeBilling ? QStringLiteral("0") : orDefault(t.freeAllowance, "0"))
      << QString::fromUtf8("Kanalbündelung:") + yesNo(t.channelBundling) << "Takt:" + orDefault(t.takt, "60/60")
      << "Sekundengenau:" + t.secondExact << "Sekundenschritte:" + t.secondSteps
      << QString::fromUtf8("Gesprächsgrundgebühr:") + orDefault(t.callBaseFee, "0") << ""
      << "[Tarifzonen]";
    QList<TarifZone> zones = t.zones;
    if (zones.isEmpty()) zones = {TarifZone{0, 24, 0, false}, TarifZone{0, 24, 0, true}};
    for (const TarifZone& z : zones) {
        l << "Zone:" + t.tariff << "Von:" + z.refusedFrom.value_or(QString::number(z.from))
          << "Bis:" + z.refusedTo.value_or(QString::number(z.to))
          << "Pfennig:" + z.refusedPrice.value_or(PlainSingle(z.cents)) << "Einheit:60"
          << "Wochenende:" + yesNo(z.weekend);
    }
    return l;
}

bool WriteTarifFile(const TarifFile& t)
{
    if (t.provider.isEmpty() || t.tariff.isEmpty() || !IsValidFileName(t.provider) || !IsValidFileName(t.tariff))
        return false;
    return WriteTextLines(ProgramPath("Tarife/" + t.fileName()), TarifFileLines(t));
}

bool ReadTarifFile(const QString& fileName, TarifFile* out)
{
    const auto read = ReadTariffLines(fileName);
    if (!read) return false;
    const QStringList& lines = *read;

    TarifFile t;
    t.provider = ProviderOfFile(fileName);
    const QString rest = fileName.mid(t.provider.size() + 3);
    t.tariff = rest.left(qMax<qsizetype>(0, rest.size() - 4));
    t.validity.clear();
    t.dialNumber.clear();
    t.userName.clear();
    t.password.clear();
    t.secondExact.clear();
    t.secondSteps.clear();
    t.freeAllowance = QStringLiteral("0");

    qsizetype i = 0;
    for (; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line == QLatin1String("[Tarifzonen]")) {
            ++i;
            break;
        }
        const auto value = [&line](const char* key) -> std::optional<QString> {
            const QString k = QString::fromUtf8(key);
            if (!line.startsWith(k)) return std::nullopt;
            return line.mid(k.size());
        };
        if (auto v = value("Gültigkeit:"))
            t.validity = *v;
        else if (auto v = value("Einwahlnummer:"))
            t.dialNumber = *v;
        else if (auto v = value("Username:"))
            t.userName = *v;
        else if (auto v = value("Password:"))
            t.password = *v;
        else if (auto v = value("Sekundengenau:"))
            t.secondExact = *v;
        else if (auto v = value("Sekundenschritte:"))
            t.secondSteps = *v;
        else if (auto v = value("Volumenabrechnung:"))
            t.volumeBilling = v->toLower() == QLatin1String("ja");
        else if (auto v = value("Volumeneinheit:"))
            t.volumeUnit = *v;
        else if (auto v = value("Volumengrenze:")) {
            if (t.volumeBilling) t.freeAllowance = *v;
        } else if (auto v = value("Volumenkosten:")) {
            t.volumeCents = ReadTariffNumber(*v);
            t.volumeCentsBeyond = BeyondSingleRange(*v) ? *v : QString();
        } else if (auto v = value("Freiminuten:")) {
            if (!t.volumeBilling) t.freeAllowance = *v;
        } else if (auto v = value("Kanalbündelung:"))
            t.channelBundling = v->toLower() == QLatin1String("ja");
        else if (auto v = value("Anmeldung:"))
            t.registration = v->toLower() == QString::fromUtf8("nötig");
        else if (auto v = value("Grundgebühr:"))
            t.baseFee = *v;
        else if (auto v = value("Gesprächsgrundgebühr:"))
            t.callBaseFee = *v;
        else if (auto v = value("Mindestumsatz:"))
            t.minimumTurnover = *v;
        else if (auto v = value("Region:"))
            t.nationwide = v->toLower() == QLatin1String("bundesweit");
        else if (auto v = value("Flatrate:"))
            t.flatrate = v->toLower() == QLatin1String("ja");
        else if (auto v = value("Takt:"))
            t.takt = *v;
    }
    // no more zones than the cost calculation's table holds
    for (; i + 6 <= lines.size() && t.zones.size() < MAX_TARIF_ZONES; i += 6) {
        const QString kind = lines[i + 5].mid(11).toLower();
        if (kind != QLatin1String("ja") && kind != QLatin1String("nein")) continue;
        TarifZone z;
        const QString from = lines[i + 1].mid(4), to = lines[i + 2].mid(4);
        z.from = CInt(qBound(-1e9, Val(from), 1e9));
        z.to = CInt(qBound(-1e9, Val(to), 1e9));
        // Beside an hour the readers refuse, one beyond the day keeps its text: the editor's entry shows 0-24
        // only, and "Von:25 Bis:30", never in force, must not come back as "Von:24 Bis:24", always in force.
        const auto keptAsWritten = [](const QString& text) {
            const std::optional<qint64> hour = ReadZoneHour(text);
            return !hour || *hour < 0 || *hour > 24;
        };
        if (keptAsWritten(from)) z.refusedFrom = from;
        if (keptAsWritten(to)) z.refusedTo = to;
        const QString price = lines[i + 3].mid(8);
        z.cents = ReadTariffNumber(price);
        if (!ReadTariffZonePrice(price)) z.refusedPrice = price;
        z.weekend = kind == QLatin1String("ja");
        t.zones << z;
    }
    for (QString* kept : {&t.validity, &t.dialNumber, &t.userName, &t.password})
        if (kept->isEmpty()) *kept = QStringLiteral("k.A.");
    *out = t;
    return true;
}

QString ProviderOfFile(const QString& fileName)
{
    const qsizetype p = fileName.indexOf(QLatin1String(" -"));
    return p < 0 ? QString() : fileName.left(p);
}

QString TarifItem(const QString& provider, const QString& fileName)
{
    const QString ending = fileName.right(3).toLower();
    const QChar kind = ending == QLatin1String("tel")   ? QChar('M')
                       : ending == QLatin1String("atl") ? QChar('A')
                                                        : QChar();
    if (kind.isNull()) return {};
    const QString rest = fileName.mid(provider.size());
    return kind + rest.left(qMax<qsizetype>(0, rest.size() - 4));
}

QString TarifFileName(const QString& provider, const QString& item)
{
    const QString ext = item.isEmpty() ? QString() : kindExtension(item[0]);
    if (ext.isEmpty()) return {};
    return provider + item.mid(1) + ext;
}

QStringList ListProviders()
{
    QStringList out;
    for (const QString& name : tariffFiles()) {
        const QString provider = ProviderOfFile(name);
        if (!provider.isEmpty() && !out.contains(provider)) out << provider;
    }
    return out;
}

QStringList ListTarifItems(const QString& provider)
{
    QStringList out;
    if (provider.isEmpty()) return out;
    for (const QString& name : tariffFiles()) {
        if (ProviderOfFile(name) != provider) continue;
        const QString item = TarifItem(provider, name);
        if (!item.isEmpty()) out << item;
    }
    return out;
}

bool MatchesTarifFilter(const QString& fileName, const QString& provider, const QString& item)
{
    if (provider == ALL_ITEMS) return true;
    const QString own = ProviderOfFile(fileName);
    if (own.isEmpty() || own != provider) return false;
    if (item == ALL_ITEMS) return true;
    const QString ending = fileName.right(4).toLower();
    const bool kindMatches = (ending == QLatin1String(".atl") && item.startsWith(QLatin1String("A ")))
                             || (ending == QLatin1String(".tel") && item.startsWith(QLatin1String("M ")));
    if (!kindMatches) return false;
    // the tariff name lies between "<provider> - " and the extension
    const qsizetype from = own.size() + 3;
    const qsizetype length = fileName.size() - from - 4;
    if (length < 0) return false;
    return fileName.mid(from, length) == item.mid(4);
}
