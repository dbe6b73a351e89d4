#include "tariffs/TarifTree.h"

#include "core/FileList.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "tariffs/TarifFile.h"

#include <QHash>
#include <QRegularExpression>

namespace {
bool leftoverOfWrite(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("\\.(tel|atl)\\.[^.]+$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(name).hasMatch();
}

QString amount(float value, const char* pattern) { return FormatSingle(value, pattern) + " " + G_Currency; }

const int INTERVAL_DAYS[3] = {7, 14, 30};
} // namespace

QString TarifTreeRow::fileName() const { return provider + " - " + tariff + (downloaded ? ".atl" : ".tel"); }

TarifTree BuildTarifTree(const QStringList& folderNames)
{
    TarifTree tree;
    QHash<QString, int> index;
    QList<QList<TarifTreeRow>> downloaded;
    for (const QString& name : folderNames) {
        const QString provider = ProviderOfFile(name);
        if (provider.isEmpty() || leftoverOfWrite(name)) continue;
        auto at = index.constFind(provider);
        if (at == index.constEnd()) {
            at = index.insert(provider, int(tree.providers.size()));
            tree.providers.append(TarifTreeProvider{provider, {}});
            downloaded.append(QList<TarifTreeRow>());
        }
        const QString item = TarifItem(provider, name);
        if (item.isEmpty()) continue;
        const bool atl = item[0] == 'A';
        TarifTreeRow row{item.mid(4), atl, provider}; // "M - name"
        (atl ? downloaded[*at] : tree.providers[*at].tariffs).append(row);
        ++tree.count;
    }
    for (qsizetype i = 0; i < tree.providers.size(); ++i) tree.providers[i].tariffs += downloaded[i];
    return tree;
}

TarifTree BuildTarifTree() { return BuildTarifTree(ListFolder(ProgramPath("Tarife"))); }

QString TarifCountText(int count) { return QString::number(count) + " Tarife insgesamt."; }

std::optional<TarifDetails> ReadTarifDetails(const QString& fileName)
{
    const auto lines = ReadTariffLines(fileName);
    if (!lines) return std::nullopt;
    TarifDetails d;
    bool volume = false;
    for (const QString& line : *lines) {
        const auto rest = [&line](const char* key) -> std::optional<QString> {
            const QString k = QString::fromUtf8(key);
            if (!line.startsWith(k)) return std::nullopt;
            return line.mid(k.size());
        };
        if (auto v = rest("Volumenabrechnung:")) {
            volume = v->toLower() == QLatin1String("ja");
            d.volume = volume;
        } else if (auto v = rest("Takt:")) {
            if (!volume) d.lblTarif[1] = *v;
        } else if (auto v = rest("Volumeneinheit:")) {
            if (volume) d.lblTarif[1] = *v + " MB";
        } else if (auto v = rest("Volumengrenze:")) {
            if (volume) d.lblTarif[12] = *v == QLatin1String("0") ? QStringLiteral("unbegrenzt") : *v;
        } else if (auto v = rest("Freiminuten:")) {
            if (!volume) d.lblTarif[12] = *v;
        } else if (auto v = rest("Kanalbündelung:")) {
            d.lblTarif[10] = *v;
        } else if (auto v = rest("Anmeldung:")) {
            d.lblTarif[2] = *v;
        } else if (auto v = rest("Grundgebühr:")) {
            d.lblTarif[7] = amount(ReadTariffNumber(*v), "0.00");
        } else if (auto v = rest("Gesprächsgrundgebühr:")) {
            d.lblTarif[9] = amount(ReadTariffNumber(*v) / 100.0f, "0.000");
        } else if (auto v = rest("Mindestumsatz:")) {
            d.lblTarif[8] = amount(ReadTariffNumber(*v), "0.00");
        } else if (auto v = rest("Region:")) {
            d.lblTarif[3] = *v == QLatin1String("bundesweit") ? QStringLiteral("bundesweit") : QStringLiteral("regional");
        } else if (auto v = rest("Flatrate:")) {
            d.lblTarif[11] = *v;
        } else if (auto v = rest("Volumenkosten:")) {
            if (volume) d.lblTarif[0] = amount(ReadTariffNumber(*v) / 100.0f, "0.0000");
        }
    }
    if (!volume) d.lblTarif[0] = FormatDouble(GetCurrentTarifPrice(fileName) / 100.0, "0.0000") + " " + G_Currency;
    return d;
}

AutoupdateSettings LoadAutoupdateSettings()
{
    AutoupdateSettings s;
    const LineReader file(ProgramPath("Config/Autoupdate.cfg"));
    if (!file.exists()) return s;
    // only exactly 1 is on, as the counter page's test whether an update is due reads it
    s.on = file.number(0) == 1;
    const double days = file.number(1);
    for (int i = 0; i < 3; ++i)
        if (days == INTERVAL_DAYS[i]) s.interval = i;
    return s;
}

bool SaveAutoupdateSettings(bool on, int interval)
{
    const int days = interval >= 0 && interval < 3 ? INTERVAL_DAYS[interval] : 7;
    return WriteTextLines(ProgramPath("Config/Autoupdate.cfg"), {Str(on ? 1 : 0), Str(days)});
}
