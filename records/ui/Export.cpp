#include "records/ui/Export.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/ui/WindowUtils.h"
#include "records/ConnectionListView.h"
#include "records/ExportCharts.h"
#include "records/ListExport.h"
#include "records/ListTitle.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// "Text Datei (*.htm)|*.htm": description and pattern pairs.
QList<FileFilter> ConvertFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FileFilter> out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out.append({parts[i], parts[i + 1]});
    return out;
}

QLabel* explanation(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    WrapLabel(label);
    return label;
}
} // namespace

Export::Export(const ConnectionListView& list, QWidget* parent) : QDialog(parent), m_list(list)
{
    setObjectName(QStringLiteral("Export"));
    setWindowTitle(QStringLiteral("Exportieren..."));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    RegisterForm(this);

    Label1 = explanation(this, "Label1", QStringLiteral("Bitte wählen Sie das gewünschte Format aus:"));
    Label2 = explanation(this, "Label2",
                         QStringLiteral("Die Verbindungsdaten werden in eine HTML Datei geschrieben und Diagramme "
                                        "als Bilder eingebunden."));
    Label3 = explanation(this, "Label3",
                         QStringLiteral("Speichert alle Daten in eine Text Datei, die Sie z.B. in Excel oder "
                                        "StarCalc importieren können."));
    Command1[1] = new QPushButton(QStringLiteral("HTML Datei"), this);
    Command1[0] = new QPushButton(QStringLiteral("Text Datei"), this);
    Command1[1]->setObjectName(QStringLiteral("Command1_1"));
    Command1[0]->setObjectName(QStringLiteral("Command1_0"));
    for (QPushButton* b : Command1) {
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
    }
    connect(Command1[1], &QPushButton::clicked, this, [this] { Command1_Click(1); });
    connect(Command1[0], &QPushButton::clicked, this, [this] { Command1_Click(0); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(14);
    layout->addWidget(Label1);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(12);
    grid->addWidget(Command1[1], 0, 0, Qt::AlignTop);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Command1[0], 1, 0, Qt::AlignTop);
    grid->addWidget(Label3, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Label2->setFixedWidth(300);
    Label3->setFixedWidth(300);
}

void Export::GetListTitle()
{
    m_title = ::GetListTitle(m_list.periodText());
}

QString Export::fncGetFileNametoSave(const QString& filter, const QString& defaultExtension, const QString& title)
{
    SaveFileRequest request;
    request.owner = this;
    request.title = title;
    request.filters = ConvertFilter(filter);
    request.defaultSuffix = defaultExtension.mid(defaultExtension.lastIndexOf(QLatin1Char('.')) + 1);
    return SaveFile(request);
}

QString Export::chooseFile(const QString& filter, const QString& defaultExtension, const QString& title)
{
    for (;;) {
        QString path = fncGetFileNametoSave(filter, defaultExtension, title).trimmed();
        if (!FileExists(path)) return path;
        if (MsgBox(QStringLiteral("Die Datei existiert bereits. Wollen Sie sie überschreiben?"),
                   vbYesNo + vbQuestion) == vbYes) {
            // Replace the file as it is named, not beside it in another letter case.
            const QString existing = FindFileNoCase(GetFilePath(path), GetFileName(path));
            return existing.isEmpty() ? path : GetFilePath(path) + QLatin1Char('/') + existing;
        }
    }
}

void Export::failed()
{
    MsgBox(QStringLiteral("Fehler beim Erstellen der Datei. Eventuell ist der Datenträger voll oder schreibgeschützt."),
           vbExclamation, QStringLiteral("Fehler"));
}

void Export::Command1_Click(int Index)
{
    if (m_list.rowCount() == 0) {
        MsgBox(QStringLiteral("Die Liste enthält keine Einträge."));
        close();
        return;
    }
    if (Index == 1)
        exportHtml();
    else
        exportText();
}

bool Export::makeCharts(const QString& htmlPath, QStringList* chartFiles)
{
    const ExportChartsFunction& draw = ExportCharts();
    const int period = m_list.periodIndex();
    if (!draw || period < 1 || period > 3) return true;
    if (MsgBox(QStringLiteral("Wollen Sie das Monatsdiagramme eingebunden werden? Diese werden im selben Verzeichnis "
                              "abgespeichert und in die HTML Datei eingebunden. Da sie im BMP Format erstellt werden, "
                              "können sie nur vom Internet Explorer dargestellt werden."),
               vbYesNo + vbQuestion) != vbYes)
        return true;
    const QString text = m_list.periodText();
    const int m = text == QLatin1String("Letzter Monat") ? 1 : text == QLatin1String("Vorletzter Monat") ? 2 : 0;
    const QDate month = MonthsBefore(Today(), m);
    ExportChartRequest request;
    request.monthIndex = month.month() - 1;
    request.yearIndex = month.year() - 2001;
    request.userIndex = m_list.userIndex();
    request.providerIndex = m_list.providerIndex();
    request.tariffIndex = m_list.tariffIndex();
    const QString base = ChartBase(htmlPath);
    request.durationPath = base + QStringLiteral("1.bmp");
    request.transferPath = base + QStringLiteral("2.bmp");
    if (!draw(request)) return false;
    *chartFiles = {GetFileName(request.durationPath), GetFileName(request.transferPath)};
    return true;
}

void Export::exportHtml()
{
    const QString path = chooseFile(QStringLiteral("Text Datei (*.htm)|*.htm"), QStringLiteral("*.htm"),
                                    QStringLiteral("Als HTML Datei exportieren..."));
    if (path.isEmpty()) return;
    GetListTitle();
    QStringList charts;
    if (!makeCharts(path, &charts) || !WriteTextLines(path, HtmlExportLines(m_list, m_title, charts),
                                                      FileAccess::Default, FileSync::Atomic, FileLinks::Follow)) {
        failed();
        return;
    }
    MsgBox(QStringLiteral("Die HTML Datei wurde erfolgreich erstellt."), vbInformation);
    close();
}

void Export::exportText()
{
    const QString path = chooseFile(QStringLiteral("Text Datei (*.txt)|*.txt"), QStringLiteral("*.txt"),
                                    QStringLiteral("Als Text exportieren..."));
    if (path.isEmpty()) return;
    // The user chose the place: a link there is written through, as the chart pictures beside it are.
    if (!WriteTextLines(path, TextExportLines(m_list), FileAccess::Default, FileSync::Atomic, FileLinks::Follow)) {
        failed();
        return;
    }
    MsgBox(QStringLiteral("Die Text Datei wurde erfolgreich erstellt. Falls sie diese in Ihre Tabellenkalkulation "
                          "importieren wollen, wählen Sie dort den Importfilter 'Text CSV' (oder ähnlich) und Gebeb "
                          "Sie als Trennzeichen '|' ein. Wichtig: Wählen Sie beim importieren in StarOffice nicht "
                          "einfach 'Text' als Importfilter aus sondern 'Text - txt - csv (Star Office Calc)'."),
           vbInformation);
    close();
}

void ExportList(const ConnectionListView& list, QWidget* parent)
{
    Export window(list, parent);
    window.exec();
}
