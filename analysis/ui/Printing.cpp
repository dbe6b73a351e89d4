#include "analysis/ui/Printing.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "core/ui/Printers.h"
#include "core/ui/PrinterDialogs.h"
#include "core/ui/WindowUtils.h"
#include "records/ConnectionListView.h"
#include "records/PrintPreview.h"
#include "records/ui/Difference.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <cmath>
#include <limits>

namespace {
// The layout is in twips of the original, 15 to a pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

// Places a control; a caption that needs more room than the original's small font did grows to the right
// and about its middle.
template <class W> W* place(W* widget, int left, int top, int width, int height)
{
    QRect r = twips(left, top, width, height);
    const QSize hint = widget->sizeHint();
    if (hint.width() > r.width() && !qobject_cast<QComboBox*>(widget)) r.setWidth(hint.width());
    if (hint.height() > r.height()) r.adjust(0, -(hint.height() - r.height()) / 2, 0, 0), r.setHeight(hint.height());
    widget->setGeometry(r);
    return widget;
}

QFrame* shape(QWidget* parent, const QRect& r, const QColor& fill, const QColor& border, bool filled)
{
    auto* frame = new QFrame(parent);
    frame->setGeometry(r);
    frame->setStyleSheet(filled ? QString("background: %1; border: 1px solid %2;").arg(fill.name(), border.name())
                                : QString("background: transparent; border: 1px solid %1;").arg(border.name()));
    return frame;
}

// The four decorations, 32 x 32: printer, copies, diagram, list.
QPixmap icon(int kind)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor dark(70, 80, 100);
    p.setPen(QPen(dark, 1.2));
    if (kind == 0) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9.5, 3.5, 13, 10));
        p.setBrush(QColor(190, 198, 212));
        p.drawRoundedRect(QRectF(3.5, 12.5, 25, 11), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9.5, 20.5, 13, 9));
        p.setBrush(QColor(60, 170, 60));
        p.drawEllipse(QPointF(24.5, 16), 1.4, 1.4);
    } else if (kind == 1) {
        p.setBrush(Qt::white);
        for (int i = 2; i >= 0; --i) p.drawRect(QRectF(5.5 + 4 * i, 3.5 + 4 * i, 16, 20));
        for (int i = 0; i < 3; ++i) p.drawLine(QPointF(17.5, 17.5 + 3 * i), QPointF(31, 17.5 + 3 * i) - QPointF(4, 0));
    } else if (kind == 2) {
        p.drawLine(QPointF(4.5, 3), QPointF(4.5, 27.5));
        p.drawLine(QPointF(4.5, 27.5), QPointF(29, 27.5));
        const int heights[5] = {10, 18, 7, 22, 14};
        for (int i = 0; i < 5; ++i) {
            p.setBrush(i % 2 ? QColor(200, 0, 120) : QColor(120, 200, 0));
            p.drawRect(QRectF(7.5 + 4.5 * i, 27.5 - heights[i], 3.5, heights[i]));
        }
    } else {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 21, 27));
        for (int i = 0; i < 6; ++i) p.drawLine(QPointF(9, 7.5 + 4 * i), QPointF(i % 2 ? 19 : 23, 7.5 + 4 * i));
    }
    return pixmap;
}

QLabel* image(QWidget* parent, int kind, int left, int top)
{
    auto* label = new QLabel(parent);
    label->setPixmap(icon(kind));
    label->setGeometry(twips(left, top, 480, 480));
    return label;
}

QGroupBox* frame(QWidget* parent, int left, int top, int width, int height)
{
    auto* box = new QGroupBox(parent);
    box->setGeometry(twips(left, top, width, height));
    return box;
}

QString unusablePrinter(const QString& name)
{
    return QStringLiteral("Der Drucker \"%1\" konnte nicht verwendet werden.").arg(name);
}

// The printer run's page breaks.
class PrinterPager : public PrintPager {
public:
    explicit PrinterPager(QPrinter& printer) : printer(printer) {}
    double PrintableHeight() override { return printer.pageLayout().paintRect(QPageLayout::Millimeter).height(); }
    bool NewPage() override { return printer.newPage(); }

private:
    QPrinter& printer;
};
} // namespace

Printing::Printing(const ConnectionListView& list, QWidget* parent) : QDialog(parent), m_list(list)
{
    setObjectName("Printing");
    setWindowTitle("Drucken...");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(600, 446);
    // the layout was made for the original's small 8-point face
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    RegisterForm(this);
    buildControls();
}

Printing::~Printing() { SetPrintPreviewRefresh(nullptr); }

void Printing::buildControls()
{
    Shape1[0] = shape(this, twips(-75, -225, 4290, 6315), Qt::white, QColor(224, 224, 224), true);
    Shape1[1] = shape(this, twips(0, 6075, 10365, 1185), QColor(224, 224, 224), Qt::white, true);
    Label1[0] = place(new QLabel("Druckvorschau:", this), 180, 180, 1140, 195);
    Shape2 = shape(this, twips(180, 420, 3795, 5175), Qt::white, QColor(128, 128, 128), false);
    IDPreview = new QLabel(this);
    IDPreview->setObjectName("IDPreview");
    IDPreview->setGeometry(13, 29, 251, 343);
    IDPreview->setStyleSheet("background: white;");
    clearPreview();
    Label2 = new QLabel("Erstelle Vorschau...", IDPreview);
    Label2->setAlignment(Qt::AlignCenter);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    place(Label2, 60, 2400, 3675, 225);
    Label2->hide();
    Check4 = place(new QCheckBox("Vorschau", this), 3015, 5715, 1005, 195);
    Check4->setStyleSheet("QCheckBox { background: white; }");

    Frame2 = frame(this, 4365, 45, 4515, 2220);
    Image2 = image(Frame2, 0, 180, 315);
    Label1[1] = place(new QLabel("Drucker", Frame2), 810, 315, 570, 195);
    Combo1 = place(new QComboBox(Frame2), 810, 630, 2220, 315);
    Command2 = place(new QPushButton("Einstellungen", Frame2), 3105, 630, 1230, 330);
    Option4 = place(new QRadioButton("Bunt", Frame2), 810, 1035, 735, 240);
    Option5 = place(new QRadioButton("Monochrom", Frame2), 1890, 1035, 1410, 240);
    Image4 = image(Frame2, 1, 180, 1440);
    Label1[3] = place(new QLabel("Anzahl der Kopien", Frame2), 810, 1395, 1290, 195);
    Text1 = new QLineEdit("1", Frame2);
    Text1->setMaxLength(2);
    Text1->setGeometry(twips(810, 1665, 510, 285));
    VScroll1 = new QScrollBar(Qt::Vertical, Frame2);
    VScroll1->setRange(-99, -1);
    VScroll1->setValue(-1);
    VScroll1->setGeometry(twips(1305, 1665, 195, 285));

    Frame1 = frame(this, 4365, 2295, 4515, 2085);
    Image3 = image(Frame1, 2, 135, 315);
    Check1 = place(new QCheckBox("Monatsdiagramme drucken", Frame1), 810, 315, 2490, 195);
    Check1->setChecked(true);
    comZeitraum = place(new QComboBox(Frame1), 810, 630, 2220, 315);
    FillList(comZeitraum, GermanMonthNames());
    Option1 = place(new QRadioButton("Dauer && Transfer", Frame1), 810, 1080, 1545, 240);
    Option2 = place(new QRadioButton("Kosten && Transfer", Frame1), 810, 1395, 1680, 240);
    Option3 = place(new QRadioButton("Kosten && Dauer", Frame1), 810, 1710, 1680, 240);

    Frame3 = frame(this, 4365, 4410, 4515, 1545);
    Image5 = image(Frame3, 3, 135, 315);
    Option6 = place(new QRadioButton("Rechnungsform", Frame3), 900, 315, 1545, 240);
    Option7 = place(new QRadioButton("Listenform", Frame3), 2655, 315, 1095, 240);
    Check2 = place(new QCheckBox("Transfer- und DFÜ-Daten ausdrucken", Frame3), 900, 720, 3030, 195);
    Check2->setChecked(true);
    Check3 = place(new QCheckBox("Farbliche differenzieren", Frame3), 900, 1080, 2085, 195);
    Command3 = place(new QPushButton("Einstellungen", Frame3), 2925, 1035, 1410, 330);
    // our face is wider than the original's: the button gives the box beside it what it can spare
    QRect button = Command3->geometry();
    button.setLeft(qMax(button.left(), Check3->geometry().right() + 3));
    button.setRight(qMax(button.right(), qMin(button.left() + Command3->sizeHint().width(), Frame3->width() - 5)));
    Command3->setGeometry(button);

    Command1[0] = place(new QPushButton("&Drucken", this), 6120, 6210, 1320, 375);
    Command1[1] = place(new QPushButton("A&bbrechen", this), 7560, 6210, 1320, 375);

    // one exclusive group per frame
    QRadioButton* groups[3][3] = {{Option4, Option5, nullptr}, {Option1, Option2, Option3}, {Option6, Option7, nullptr}};
    for (auto& members : groups) {
        auto* group = new QButtonGroup(this);
        for (QRadioButton* option : members)
            if (option) group->addButton(option);
    }
    Option4->setChecked(true);
    Option1->setChecked(true);
    Option7->setChecked(true);

    const struct {
        QWidget* control;
        const char* name;
    } names[] = {{Check4, "Check4"},   {Combo1, "Combo1"},     {Command2, "Command2"}, {Option4, "Option4"},
                 {Option5, "Option5"}, {Text1, "Text1"},       {VScroll1, "VScroll1"}, {Check1, "Check1"},
                 {comZeitraum, "comZeitraum"}, {Option1, "Option1"}, {Option2, "Option2"}, {Option3, "Option3"},
                 {Option6, "Option6"}, {Option7, "Option7"},   {Check2, "Check2"},     {Check3, "Check3"},
                 {Command3, "Command3"}, {Command1[0], "Command1_0"}, {Command1[1], "Command1_1"},
                 {Label2, "Label2"},   {Frame1, "Frame1"},     {Frame2, "Frame2"},     {Frame3, "Frame3"},
                 {Shape1[0], "Shape1_0"}, {Shape1[1], "Shape1_1"}, {Shape2, "Shape2"}};
    for (const auto& n : names) n.control->setObjectName(n.name);
    QWidget* order[] = {Combo1,  Command2, Option4, Option5, Text1,  VScroll1,    Check1,      comZeitraum, Option1,
                        Option2, Option3,  Option6, Option7, Check2, Check3,      Command3,    Command1[0], Command1[1],
                        Check4};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    for (QPushButton* button : {Command1[0], Command1[1], Command2, Command3}) button->setAutoDefault(false);

    // the original's change handlers run for code's changes too; a radio button's only for the one turned on
    connect(comZeitraum, &QComboBox::currentIndexChanged, this, [this] { redraw(); });
    for (QRadioButton* option : {Option1, Option2, Option3})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on) redraw();
        });
    for (QRadioButton* option : {Option4, Option5})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on) Option4_Click();
        });
    for (QRadioButton* option : {Option6, Option7})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on) Option6_Click();
        });
    for (QCheckBox* box : {Check1, Check2, Check3}) connect(box, &QCheckBox::toggled, this, [this] { redraw(); });
    connect(Check4, &QCheckBox::toggled, this, [this] { Check4_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    for (int i = 0; i < 2; ++i) connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

void Printing::Form_Load()
{
    IsLoading = true;
    const QDate today = Today();
    comZeitraum->setCurrentIndex(today.month() - 1);
    const QString period = m_list.periodText();
    if (period == QLatin1String("Letzter Monat")) comZeitraum->setCurrentIndex(MonthsBefore(today, 1).month() - 1);
    else if (period == QLatin1String("Vorletzter Monat"))
        comZeitraum->setCurrentIndex(MonthsBefore(today, 2).month() - 1);

    Printers& printers = ThePrinters();
    FillList(Combo1, printers.names());
    const int current = Combo1->findText(printers.currentName(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (current >= 0) Combo1->setCurrentIndex(current);
    else if (Combo1->count() > 0) Combo1->setCurrentIndex(0);
    IsLoading = false;
    SetPrintPreviewRefresh([this] { Vorschau(); });
    redraw();
}

void Printing::redraw()
{
    if (!IsLoading) Vorschau();
}

void Printing::enableMarking(bool on)
{
    Check3->setEnabled(on);
    Command3->setEnabled(on);
    if (!on) Check3->setChecked(false);
}

void Printing::Option4_Click()
{
    enableMarking(Option4->isChecked());
    redraw();
}

void Printing::Option6_Click()
{
    enableMarking(Option7->isChecked());
    redraw();
}

void Printing::clearPreview()
{
    QPixmap white(IDPreview->size());
    white.fill(Qt::white);
    IDPreview->setPixmap(white);
}

void Printing::Check4_Click()
{
    if (Check4->isChecked()) redraw();
    else clearPreview();
}

void Printing::Text1_Change()
{
    const double copies = std::floor(Val(Text1->text()));
    if (copies <= 0) {
        Text1->setText(QStringLiteral("1")); // runs this handler again
        return;
    }
    VScroll1->setValue(-int(qMin(copies, 99.0)));
}

void Printing::VScroll1_Change() { Text1->setText(QString::number(-VScroll1->value())); }

void Printing::Command1_Click(int index)
{
    if (index == 0) Drucken();
    done(index == 0 ? QDialog::Accepted : QDialog::Rejected);
}

void Printing::Command2_Click()
{
    if (!Combo1->currentText().isEmpty()) ShowPrinterProperties(this, Combo1->currentText());
}

void Printing::Command3_Click()
{
    Difference dialog(this);
    dialog.Form_Load();
    dialog.exec(); // its OK redraws the preview
}

PrintPageOptions Printing::PageOptions() const
{
    PrintPageOptions options;
    options.monthDiagrams = Check1->isChecked();
    options.diagramPair = Option1->isChecked() ? 1 : Option2->isChecked() ? 2 : 3;
    options.month = comZeitraum->currentIndex() + 1;
    options.colour = Option4->isChecked();
    options.listForm = Option7->isChecked();
    options.transferColumns = Check2->isChecked();
    options.markDifferences = Check3->isChecked();
    return options;
}

int Printing::CopiesFromText(const QString& text)
{
    const qint32 copies = CInt(Val(text));
    return int(qBound(qint32(std::numeric_limits<qint16>::min()), copies, qint32(std::numeric_limits<qint16>::max())));
}

void Printing::Vorschau()
{
    if (!Check4->isChecked()) return;
    Label2->show();
    Label2->repaint();
    QImage page = NewPrintPreviewPicture();
    {
        PainterSurface surface(&page);
        surface.SetUnit(SurfaceUnit::Millimetres);
        DrawPrintPage(surface, PageOptions(), m_list);
    }
    // Handed over in memory: a picture file in the data folder could be a link that sends it elsewhere.
    ShowPreviewBitmap(IDPreview, page, 1);
    Label2->hide();
}

void Printing::Drucken()
{
    const int index = Combo1->currentIndex();
    if (index < 0 || Combo1->currentText().isEmpty()) {
        MsgBox(QStringLiteral("Kein Drucker ausgewählt"), vbExclamation);
        return;
    }
    const QString name = Combo1->itemText(index);
    QPrinter* printer = ThePrinters().printer(name);
    if (!printer) {
        MsgBox(unusablePrinter(name), vbExclamation);
        return;
    }
    ThePrinters().setCurrentName(name);
    // the job's name in the queue, and the file name a PDF queue makes of it
    printer->setDocName(APP_TITLE);
    // the page's coordinates start at the printable area's corner
    printer->setFullPage(false);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setCopyCount(qMax(1, CopiesFromText(Text1->text())));
    printer->setColorMode(Option5->isChecked() ? QPrinter::GrayScale : QPrinter::Color);

    PainterSurface surface(printer);
    if (!surface.isActive()) {
        MsgBox(unusablePrinter(name), vbExclamation);
        return;
    }
    surface.SetUnit(SurfaceUnit::Millimetres);
    PrinterPager pager(*printer);
    const bool complete = DrawPrintPage(surface, PageOptions(), m_list, &pager);
    const bool ended = surface.devicePainter().end();
    if (!complete)
        MsgBox(QStringLiteral("Der Drucker \"%1\" hat keine weitere Seite angenommen; der Ausdruck ist unvollständig.")
                   .arg(name),
               vbExclamation);
    else if (!ended)
        MsgBox(QStringLiteral("Der Drucker \"%1\" hat den Ausdruck nicht angenommen.").arg(name), vbExclamation);
}

void ShowPrinting(QWidget* owner, const ConnectionListView& list)
{
    Printing window(list, owner);
    window.Form_Load();
    window.exec();
}
