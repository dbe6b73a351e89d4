#include "analysis/PrintPage.h"

#include "analysis/MonthChart.h"
#include "analysis/PrintData.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "records/ConnectionList.h"
#include "records/ConnectionListView.h"
#include "tariffs/TarifFile.h"

namespace {

const QString ARIAL = QStringLiteral("Arial");
const QColor BLACK(0, 0, 0);
const QColor GREY(192, 192, 192);
const QColor BAND(224, 224, 224);
const QColor LEFT_BARS(120, 200, 0);
const QColor RIGHT_BARS(200, 0, 120);
const QColor MONOCHROME_BARS(128, 128, 128);
const QColor MARKS[3] = {QColor(0, 128, 0), QColor(192, 192, 0), QColor(128, 0, 0)};

// Below the preview picture's lower edge nothing shows; such rows still count in the totals.
constexpr float PREVIEW_HEIGHT = 295;

enum MarkCategory { MARK_NONE = 0, MARK_COST = 1, MARK_DURATION = 2, MARK_VOLUME = 3 };

// The category of Config/Difference.cfg and its own block of three thresholds; lines the file lacks
// count as 0.
struct Thresholds {
    int category = MARK_NONE;
    QString limit[3];
};

Thresholds readThresholds()
{
    Thresholds t;
    const QString folder = ProgramPath(QStringLiteral("Config"));
    const QString name = FindFileNoCase(folder, QStringLiteral("Difference.cfg"));
    if (name.isEmpty()) return t;
    const LineReader file(folder + QLatin1Char('/') + name);
    const double category = file.number(0);
    if (category != MARK_COST && category != MARK_DURATION && category != MARK_VOLUME) return t;
    t.category = int(category);
    for (int i = 0; i < 3; ++i)
        t.limit[i] = file.line(1 + (t.category - 1) * 3 + i);
    return t;
}

// The colour of the last threshold the value exceeds; black when none.
template <typename T> QColor markColour(T value, const std::array<T, 3>& limits)
{
    const int level = MarkLevel(value, limits);
    return level == 0 ? BLACK : MARKS[level - 1];
}

QColor cellMark(const Thresholds& t, int category, const QString& cell)
{
    if (t.category != category) return BLACK;
    switch (category) {
    case MARK_COST: {
        const std::array<float, 3> limits = {ValDecimal(t.limit[0]), ValDecimal(t.limit[1]), ValDecimal(t.limit[2])};
        return markColour(ValDecimal(cell), limits);
    }
    case MARK_DURATION: {
        const std::array<qint32, 3> limits = {TimeToSeconds(t.limit[0]), TimeToSeconds(t.limit[1]),
                                              TimeToSeconds(t.limit[2])};
        return markColour(TimeToSeconds(cell), limits);
    }
    default: {
        // the marking window writes a volume of 0,5 KB with a decimal comma, which the list reads as 0,5 too
        const std::array<double, 3> limits = {ValDecimal(t.limit[0]), ValDecimal(t.limit[1]), ValDecimal(t.limit[2])};
        return markColour(Val(cell) / 1000, limits);
    }
    }
}

QString weekday(const QString& dateText)
{
    const QDate date = ParseShortDate(dateText);
    return date.isValid() ? GermanDayName(date.dayOfWeek()).left(2) + QLatin1Char(',') : QString();
}

class PageDrawer {
public:
    PageDrawer(DrawSurface& s, const PrintPageOptions& o, const ConnectionListView& l, PrintPager* p)
        : s(s), o(o), list(l), data(l), pager(p)
    {
    }

    bool draw()
    {
        if (o.markDifferences) marks = readThresholds();
        data.FillPageTitle();
        if (!pager) s.Clear();
        titleBand();
        if (o.monthDiagrams) {
            monthDiagrams();
            y = 91;
        } else {
            y = 27;
        }
        filterLine();
        return o.listForm ? listForm() : invoiceForm();
    }

private:
    void text(double x, double top, const QString& t) { s.DrawText(x, top, t); }
    void textRight(double right, double top, const QString& t) { s.DrawText(right - s.TextWidth(t), top, t); }
    void line(double x1, double y1, double x2, double y2, const QColor& colour = BLACK)
    {
        if (colour != BLACK) s.SetColor(colour);
        s.DrawLine(x1, y1, x2, y2);
        if (colour != BLACK) s.SetColor(BLACK);
    }

    // Cut a character at a time until the text fits; a cut text ends in ".".
    QString fitted(QString t, double limit)
    {
        bool cut = false;
        while (!t.isEmpty() && s.TextWidth(t) > limit) {
            t.chop(1);
            cut = true;
        }
        return cut ? t.trimmed() + QLatin1Char('.') : t;
    }

    // Before a table row on the printer: past the printable height the row opens a new page, carrying
    // what it overshot.
    bool pageBreak()
    {
        if (!pager || !(double(y) > pager->PrintableHeight() - 10)) return true;
        if (!pager->NewPage()) return false;
        y = float(double(y) - pager->PrintableHeight() + 20);
        return true;
    }

    bool visible() const { return pager || y < PREVIEW_HEIGHT; }

    void titleBand()
    {
        s.SetFont(ARIAL, 14, true);
        s.SetColor(BLACK);
        s.DrawBox(15, 15, 195, 23.5);
        text(105 - s.TextWidth(data.PageTitle) / 2, 16, data.PageTitle);
        line(15, 22.5, 195, 22.5);
    }

    // The labels of one value axis for a maximum shown as `top`.
    static QString axisLabel(float top, int i)
    {
        const float v = top * float(6 - i) / 5;
        return FormatSingle(v, top < 100 ? QStringLiteral("0.0") : QStringLiteral("0"));
    }

    void monthDiagrams()
    {
        s.SetFont(ARIAL, 10, true);
        s.DrawBox(15, 27, 195, 90);
        line(15, 33, 195, 33);
        line(105, 27, 105, 90);
        const QString online = QStringLiteral("Onlinezeitdiagramm (Min)");
        const QString costs = QStringLiteral("Kostendiagramm (") + G_Currency + QLatin1Char(')');
        const QString transfer = QStringLiteral("Transferdiagramm (MB)");
        const QString leftTitle = o.diagramPair == 1 ? online : costs;
        const QString rightTitle = o.diagramPair == 3 ? online : transfer;
        text(59.5 - s.TextWidth(leftTitle) / 2, 28, leftTitle);
        text(150.5 - s.TextWidth(rightTitle) / 2, 28, rightTitle);

        s.SetFont(QStringLiteral("Small Fonts"), 6, false);
        line(23, 40, 23, 80);
        line(23, 80, 98, 80);
        line(187, 40, 187, 80);
        line(112, 80, 187, 80);

        if (o.diagramPair == 1) {
            data.FillMonthOnlineTime(o.month);
            data.FillMonthTransfer(o.month);
        } else if (o.diagramPair == 2) {
            data.FillMonthCosts(o.month);
            data.FillMonthTransfer(o.month);
        } else {
            data.FillMonthCosts(o.month);
            data.FillMonthOnlineTime(o.month);
        }
        const MonthSeries& left = o.diagramPair == 1 ? data.MonthOnlineTime : data.MonthCosts;
        const MonthSeries& right = o.diagramPair == 3 ? data.MonthOnlineTime : data.MonthTransfer;
        // Online time is stored in seconds and labelled in minutes.
        const float leftTop = o.diagramPair == 1 ? left.maximum / 60 : left.maximum;
        const float rightTop = o.diagramPair == 3 ? right.maximum / 60 : right.maximum;

        for (int i = 1; i <= 5; ++i) {
            const double yi = 40 + 8 * (i - 1);
            line(22.5, yi, 23, yi);
            const QString l = axisLabel(leftTop, i);
            text(21.5 - s.TextWidth(l), yi - s.TextHeight(l) / 2, l);
            line(187.5, yi, 187, yi);
            const QString r = axisLabel(rightTop, i);
            text(188.5, yi - s.TextHeight(r) / 2, r);
        }
        for (int d = 1; d <= 31; ++d) {
            dayColumn(22.3 + 2.4 * d, d, left, o.colour ? LEFT_BARS : MONOCHROME_BARS);
            dayColumn(110.8 + 2.4 * d, d, right, o.colour ? RIGHT_BARS : MONOCHROME_BARS);
        }
    }

    void dayColumn(double x, int d, const MonthSeries& series, const QColor& bars)
    {
        line(x, 80, x, 80.5);
        if (d == 1 || d % 5 == 0) {
            const QString label = QString::number(d);
            const double shift = d <= 9 ? 0 : d <= 19 ? 0.5 : 0.8; // two digits stand a little right
            text(x - s.TextWidth(label) + shift, 81, label);
        }
        s.SetColor(bars);
        s.FillBox(x - 0.8, 80 - BarLength(series.value[size_t(d)], series.maximum, 40), x + 0.8, 80);
        s.SetColor(BLACK);
    }

    static QString filterText(const QString& caption, const QString& choice)
    {
        return caption + (choice.isEmpty() || choice == ALL_ITEMS ? QStringLiteral("Alle") : choice);
    }

    void filterLine()
    {
        s.SetFont(ARIAL, 10, false);
        s.DrawBox(15, y, 195, y + 5);
        text(17, y + 0.5, filterText(QStringLiteral("Benutzer: "), list.userText()));
        text(77, y + 0.5, filterText(QStringLiteral("Anbieter: "), list.providerText()));
        text(137, y + 0.5, filterText(QStringLiteral("Tarif: "), list.tariffText()));
    }

    // A cell in its marking colour, black again after it.
    void markedText(double x, bool rightAligned, const QString& t, const QColor& colour)
    {
        if (colour != BLACK) s.SetColor(colour);
        rightAligned ? textRight(x, y, t) : text(x, y, t);
        if (colour != BLACK) s.SetColor(BLACK);
    }

    bool listForm()
    {
        s.SetFont(ARIAL, 9, false);
        line(15, y + 6, 195, y + 6);
        y += 6;
        float frameTop = y;
        const int rows = list.rowCount();
        const bool wide = o.transferColumns;
        if (rows > 0) {
            s.SetFont(ARIAL, 9, true);
            const float top = y + 1;
            text(17, top, QStringLiteral("Datum"));
            text(42, top, QStringLiteral("Startzeit"));
            text(59, top, QStringLiteral("Dauer"));
            if (wide) {
                textRight(90, top, QStringLiteral("Trns. (MB)"));
                text(93, top, QStringLiteral("DFÜ"));
                text(117, top, QStringLiteral("Benutzer"));
                text(142, top, QStringLiteral("Anbieter"));
            } else {
                text(80, top, QStringLiteral("Benutzer"));
                text(120, top, QStringLiteral("Anbieter"));
            }
            textRight(193, top, QStringLiteral("Kosten (") + G_Currency + QLatin1Char(')'));
            line(15, y + 5, 195, y + 5, GREY);
            if (pager) {
                line(15, y, 15, y + 6.5);
                line(195, y, 195, y + 6.5);
            }
            y += 6.5f;

            for (int r = 0; r < rows; ++r) {
                s.SetFont(ARIAL, 9, false);
                if (!pageBreak()) return false;
                const QString duration = list.cellText(r, ColDuration);
                const QString cost = list.cellText(r, ColCost);
                const QString bytes = list.cellText(r, ColBytesTotal);
                if (visible()) {
                    if ((r + 1) % 2 == 0) {
                        s.SetColor(BAND);
                        s.FillBox(15, y, 195, y + 4);
                        s.SetColor(BLACK);
                    }
                    const QString date = list.cellText(r, ColDate);
                    text(17, y, weekday(date));
                    text(23, y, date);
                    text(42, y, list.cellText(r, ColStart));
                    markedText(59, false, duration, cellMark(marks, MARK_DURATION, duration));
                    if (wide) {
                        markedText(90, true, FormatDouble(Val(bytes) / 1000000, QStringLiteral("0.00")),
                                   cellMark(marks, MARK_VOLUME, bytes));
                        text(93, y, fitted(list.cellText(r, ColDialUp), 20.5));
                        text(117, y, fitted(list.cellText(r, ColUser), 22.5));
                        text(142, y, fitted(list.cellText(r, ColTariff), 35));
                    } else {
                        text(80, y, fitted(list.cellText(r, ColUser), 37.5));
                        text(120, y, fitted(list.cellText(r, ColTariff), 55));
                    }
                    s.SetFont(ARIAL, 9, true);
                    markedText(193, true, FormatSingle(ValDecimal(cost), QStringLiteral("0.00")),
                               cellMark(marks, MARK_COST, cost));
                }
                totalDuration = SubtractTimes(totalDuration, QLatin1Char('-') + duration);
                totalCost += double(ValDecimal(cost));
                if (wide) totalBytes += CLng(Val(bytes));
                if (pager) {
                    line(15, y, 15, y + 5);
                    line(195, y, 195, y + 5);
                    line(73.5, y, 73.5, y + 5, GREY);
                }
                y += 5;
            }
            if (pager) frameTop = y - 5;

            s.SetFont(ARIAL, 9, true);
            line(17, y + 1, 193, y + 1, GREY);
            text(17, y + 3, QString::number(rows) + QStringLiteral(" Verbindungen"));
            if (wide) textRight(90, y + 3, megabytes(totalBytes));
            text(59, y + 3, totalDuration);
            textRight(193, y + 3, FormatDouble(totalCost, QStringLiteral("0.00")));
            y += 3;
        }
        line(15, frameTop, 15, y + 5);
        line(195, frameTop, 195, y + 5);
        line(15, y + 5, 195, y + 5);
        if (!pager && rows > 0) line(73.5, frameTop + 5, 73.5, y + 5, GREY);
        return true;
    }

    static QString megabytes(qint64 bytes) { return FormatDouble(double(bytes) / 1000000, QStringLiteral("0.00")); }

    bool invoiceForm()
    {
        s.SetFont(ARIAL, 10, false);
        line(15, y + 6, 195, y + 6);
        y += 6;
        const float frameTop = y;
        data.SumByTariff();
        const QString currency = QLatin1Char(' ') + G_Currency;
        if (!data.Tariffs.isEmpty()) {
            for (const TariffSum& t : data.Tariffs) {
                y += 6;
                if (!pageBreak()) return false;
                if (visible()) {
                    text(20, y, fitted(t.name, 95));
                    textRight(147, y, megabytes(t.bytes) + QStringLiteral(" MB"));
                    text(153, y, t.duration);
                    textRight(190, y, FormatSingle(t.costs, QStringLiteral("0.00")) + currency);
                }
                totalBytes += t.bytes;
                totalDuration = SubtractTimes(totalDuration, QLatin1Char('-') + t.duration);
                totalCost += double(t.costs);
                if (pager) {
                    line(15, y - 6, 15, y);
                    line(195, y - 6, 195, y);
                }
            }
            s.SetFont(ARIAL, 10, true);
            line(20, y + 6, 190, y + 6, GREY);
            const float totals = y + 8;
            text(20, totals,
                 QStringLiteral("Gesamt: ") + QString::number(data.Tariffs.size()) + QStringLiteral(" Anbieter"));
            textRight(147, totals, megabytes(totalBytes) + QStringLiteral(" MB"));
            text(153, totals, totalDuration);
            textRight(190, totals, FormatDouble(totalCost, QStringLiteral("0.00")) + currency);
            if (pager) {
                line(15, y, 15, y + 19);
                line(195, y, 195, y + 19);
            }
            y += 14;
        }
        if (!pager) {
            line(15, frameTop, 15, y + 5);
            line(195, frameTop, 195, y + 5);
        }
        line(15, y + 5, 195, y + 5);
        return true;
    }

    DrawSurface& s;
    const PrintPageOptions& o;
    const ConnectionListView& list;
    PrintData data;
    PrintPager* pager;
    Thresholds marks;
    float y = 0; // the running line position, single precision as the page's layout computes it
    qint64 totalBytes = 0;
    QString totalDuration;
    double totalCost = 0;
};

} // namespace

QImage NewPrintPreviewPicture()
{
    return NewSurfacePicture(794, 1115);
}

bool DrawPrintPage(DrawSurface& surface, const PrintPageOptions& options, const ConnectionListView& list,
                   PrintPager* pager)
{
    return PageDrawer(surface, options, list, pager).draw();
}
