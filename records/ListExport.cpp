#include "records/ListExport.h"

#include "core/FileList.h"
#include "core/TextAlign.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "core/Win1252.h"
#include "records/ConnectionListView.h"

namespace {
constexpr int FirstColumn = 2; // the marking icon of column 1 is not exported
constexpr int LastColumn = 13;
constexpr int DurationColumn = 4;
constexpr int CostColumn = 5;
constexpr int BytesColumn = 9;

// Per character, so that "ß" stays one letter; a letter whose capital the code page lacks ("µ", "ƒ")
// stays as it is, or the file could not be written.
QString upper(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const QChar capital = c.toUpper();
        if (Win1252::byteFromChar(capital) >= 0) c = capital;
    }
    return out;
}

// Record data and choices are text in the page, never markup. A character the code page lacks (a file
// name may hold one) is written as its reference, so the file can still be written.
QString html(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        switch (c) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default:
            if (c < 0x10000 && Win1252::byteFromChar(QChar(char16_t(c))) >= 0) out += QChar(char16_t(c));
            else out += QStringLiteral("&#%1;").arg(quint32(c));
        }
    }
    return out;
}

// A file name as a quoted link: the characters that would end or redirect the address are encoded.
QString htmlLink(const QString& fileName)
{
    QString address = fileName;
    address.replace(QLatin1Char('%'), QLatin1String("%25"));
    address.replace(QLatin1Char('#'), QLatin1String("%23"));
    address.replace(QLatin1Char('?'), QLatin1String("%3F"));
    return QLatin1Char('"') + html(address) + QLatin1Char('"');
}

void headerBlock(QStringList& out, const QString& title)
{
    out << QStringLiteral("<HTML><BODY>")
        << QStringLiteral("<FONT face=\"Verdana, Arial, Helvetica, sans-serif\" size=2>")
        << QStringLiteral("<TABLE width=940 align=center width=1 height=1 bgcolor=#000000 border=0 cellpadding=0 "
                          "cellspacing=0><TR><TD>")
        << QStringLiteral("<TABLE width=100% border=0 cellpadding=2 cellspacing=1><TR>")
        << QStringLiteral("<TR><TD colspan=12 bgcolor=#FFFFFF></TD></TR>")
        << QStringLiteral("<TR><TD colspan=12 align=center bgcolor=#FFFFFF>") << QStringLiteral("<FONT size=4><B>")
        << html(upper(title)) << QStringLiteral("</B></FONT></TD></TR>")
        << QStringLiteral("<TR><TD colspan=12 bgcolor=#FFFFFF></TD></TR>");
}

void chartBlock(QStringList& out, const QStringList& chartFiles)
{
    out << QStringLiteral("<TR><TD colspan=12 align=center bgcolor=#DDDDDD>") << QStringLiteral("<FONT size=2><B>")
        << QStringLiteral("Monatsdiagramme (Dauer in Minuten / Transfer in Megabyte)")
        << QStringLiteral("</B></FONT></TD></TR>")
        << QStringLiteral("<TR><TD colspan=12 align=center bgcolor=#FFFFFF>");
    for (const QString& name : chartFiles)
        out << QStringLiteral("<IMG src=") + htmlLink(name) + QLatin1Char('>');
    out << QStringLiteral("</TD></TR>");
}

void filterBlock(QStringList& out, const ConnectionListView& list)
{
    QString filter =
        QStringLiteral("Benutzer: ") + list.userText() + QStringLiteral(", Anbieter: ") + list.providerText();
    if (!list.tariffText().isEmpty()) filter += QStringLiteral(", Tarif: ") + list.tariffText();
    out << QStringLiteral("<TR><TD colspan=12 align=center bgcolor=#DDDDDD>") << QStringLiteral("<FONT size=2><B>")
        << html(filter) << QStringLiteral("</B></FONT></TD></TR>")
        << QStringLiteral("<TR><TD colspan=12 bgcolor=#FFFFFF></TD></TR>");
}
} // namespace

QStringList HtmlExportLines(const ConnectionListView& list, const QString& title, const QStringList& chartFiles)
{
    QStringList out;
    headerBlock(out, title);
    if (!chartFiles.isEmpty()) chartBlock(out, chartFiles);
    filterBlock(out, list);
    for (int c = FirstColumn; c <= LastColumn; ++c)
        out << QStringLiteral("<TD bgcolor=#00AAEE valign=top nowrap>") << QStringLiteral("<FONT size=2>")
            << QStringLiteral("<B>") << html(list.headerText(c)) + QStringLiteral("<BR>") << QStringLiteral("</B>")
            << QStringLiteral("</FONT>") << QStringLiteral("</TD>");
    out << QStringLiteral("</TR>") << QStringLiteral("<TR>");

    QString duration;
    double cost = 0;
    qint64 bytes = 0; // lists beyond 2 GB occur
    const int rows = list.rowCount();
    for (int c = FirstColumn; c <= LastColumn; ++c) {
        out << QStringLiteral("<TD bgcolor=#FFFFFF valign=top nowrap>");
        for (int r = 1; r <= rows; ++r) {
            const QString cell = list.cellText(r - 1, c);
            out << (r % 2 == 0 ? QStringLiteral("<FONT color=#555555 size=2>")
                               : QStringLiteral("<FONT color=#000000 size=2>"))
                << html(cell) + QStringLiteral("<BR>") << QStringLiteral("</FONT>");
            if (c == DurationColumn) duration = SubtractTimes(duration, QLatin1Char('-') + cell);
            if (c == CostColumn) cost += double(ValDecimal(cell));
            if (c == BytesColumn) bytes += CLng(Val(cell));
        }
        out << QStringLiteral("</TD>");
    }
    out << QStringLiteral("</TR><TR>");

    for (int c = FirstColumn; c <= LastColumn; ++c) {
        out << QStringLiteral("<TD bgcolor=#DDDDDD><B><FONT color=#000000 size=2>");
        if (c == FirstColumn) out << QStringLiteral("Gesamt:");
        if (c == DurationColumn) out << duration;
        if (c == CostColumn) out << FormatDouble(cost, QStringLiteral("0.000"));
        if (c == BytesColumn) out << Str(double(bytes));
        out << QStringLiteral("</FONT></B></TD>");
    }
    out << QStringLiteral("</FONT>") << QStringLiteral("</TR></TABLE>") << QStringLiteral("<TD></TR></TABLE>")
        << QStringLiteral("</BODY></HTML>");
    return out;
}

QStringList TextExportLines(const ConnectionListView& list)
{
    QStringList out;
    out << QStringLiteral("Datum      | Startzeit | Dauer      | Einheiten | Kosten    | Empfangen     | Gesendet      "
                          "| Gesamt        | DFÜ                       | Benutzer                  | Tarif           "
                          "               | Kommentar")
        << QStringLiteral("           |           |            |           |           |               |          "
                          "     |               |                           |                           |          "
                          "                      |");
    // Units before cost and user before tariff, unlike the grid.
    struct Field {
        int column;
        int width; // -1: as it is
    };
    static const Field fields[] = {{2, -1}, {3, 9},  {4, 10},  {6, 9},   {5, 9},   {7, 13},
                                   {8, 13}, {9, 13}, {10, 25}, {12, 25}, {11, 30}, {13, -1}};
    for (int r = 0; r < list.rowCount(); ++r) {
        QStringList line;
        for (const Field& f : fields) {
            const QString cell = list.cellText(r, f.column);
            line << (f.width < 0 ? cell : LeftAlign(cell, f.width));
        }
        out << line.join(QStringLiteral(" | "));
    }
    return out;
}

bool FileExists(const QString& path)
{
    if (path.isEmpty() || !path.contains(QLatin1Char('/'))) return false;
    QString folder = GetFilePath(path);
    if (folder.isEmpty()) folder = QStringLiteral("/");
    const QString name = GetFileName(path).toLower();
    for (const QString& entry : ListFolder(folder))
        if (entry.toLower() == name) return true;
    return false;
}

QString GetFileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString GetFilePath(const QString& path)
{
    const qsizetype p = path.lastIndexOf(QLatin1Char('/'));
    return p > 0 ? path.left(p) : QString();
}

QString ChartBase(const QString& htmlPath)
{
    return htmlPath.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ? htmlPath.chopped(4) : htmlPath;
}
