#include "analysis/ui/Chart.h"

#include "analysis/ChartSettings.h"
#include "analysis/DrawSurface.h"
#include "analysis/MonthDiagram.h"
#include "core/Clock.h"
#include "core/VB.h"
#include "core/ui/FlatControl.h"
#include "core/ui/WindowUtils.h"
#include "records/ExportCharts.h"
#include "recording/ui/Form1.h"
#include "tariffs/TarifFile.h"
#include "users/UserRecord.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolButton>

#include <memory>

namespace {
const QColor BAND(235, 235, 235);
const QColor RULE(128, 128, 128);
const QColor MARK(192, 0, 0);

QFrame* rule(QWidget* parent, const QRect& area, const QColor& colour)
{
    auto* line = new QFrame(parent);
    FillBackground(line, colour);
    line->setGeometry(area);
    return line;
}

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The band's pictures: what each button shows, drawn small.
QIcon bandIcon(int index)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QColor blue(0, 100, 180), green(0, 128, 0), dark(64, 64, 64);
    p.setPen(dark);
    switch (index) {
    case 0: // lines
        p.drawLine(1, 14, 14, 14);
        p.setPen(QPen(blue, 2));
        p.drawPolyline(QPolygon({QPoint(2, 11), QPoint(6, 6), QPoint(9, 9), QPoint(14, 2)}));
        break;
    case 1: // bars
        p.drawLine(1, 14, 14, 14);
        p.fillRect(2, 8, 3, 6, blue);
        p.fillRect(6, 3, 3, 11, blue);
        p.fillRect(10, 6, 3, 8, blue);
        break;
    case 2: // pie
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0, 150, 240));
        p.drawPie(QRectF(1, 1, 14, 14), 0, 250 * 16);
        p.setBrush(QColor(155, 235, 0));
        p.drawPie(QRectF(1, 1, 14, 14), 250 * 16, 110 * 16);
        break;
    case 3: // providers: a mast with its waves
        p.setPen(QPen(dark, 2));
        p.drawLine(8, 6, 8, 15);
        p.setPen(QPen(blue, 1));
        p.drawArc(QRect(4, 1, 8, 8), 30 * 16, 120 * 16);
        p.drawArc(QRect(1, -2, 14, 14), 40 * 16, 100 * 16);
        break;
    case 4: // users
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawEllipse(QRectF(5, 1, 6, 6));
        p.drawRoundedRect(QRectF(2, 8, 12, 7), 3, 3);
        break;
    case 5: // time: a clock
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(blue, 1.5));
        p.drawLine(QPointF(8, 8), QPointF(8, 3.5));
        p.drawLine(QPointF(8, 8), QPointF(11.5, 9.5));
        break;
    case 6: // costs: a coin
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(230, 190, 60));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(dark);
        p.setFont(QFont(QStringLiteral("Sans Serif"), 7, QFont::Bold));
        p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("€"));
        break;
    default: // transfer: down and up
        p.setPen(QPen(green, 2));
        p.drawLine(5, 2, 5, 13);
        p.drawLine(2, 10, 5, 13);
        p.drawLine(8, 10, 5, 13);
        p.setPen(QPen(blue, 2));
        p.drawLine(11, 14, 11, 3);
        p.drawLine(8, 6, 11, 3);
        p.drawLine(14, 6, 11, 3);
        break;
    }
    return QIcon(pixmap);
}

QComboBox* list(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    // a disabled list keeps the style's grey
    QPalette palette = box->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, QColor(0, 0, 128));
    box->setPalette(palette);
    return box;
}
} // namespace

ChartPicture::ChartPicture(QWidget* parent) : QWidget(parent), image(NewChartPicture()) {}

void ChartPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

QWidget* CreateChartPage(Form1& mainWindow)
{
    QPointer<Chart> page = new Chart(mainWindow.pages);
    page->Form_Load();
    return page.data();
}

Chart::Chart(QWidget* parent) : QWidget(parent)
{
    setObjectName("Chart");
    setWindowTitle("Monatsdiagramm");
    RegisterForm(this);
    buildControls();
}

void Chart::buildControls()
{
    Picture1 = new QFrame(this);
    Picture1->setObjectName("Picture1");
    Picture1->setGeometry(0, 6, 463, 24);
    FillBackground(Picture1, RULE);
    lblTitel = new QLabel("Monatsdiagramm", Picture1);
    lblTitel->setObjectName("lblTitel");
    lblTitel->setFont(QFont("Arial", 12));
    setTextColour(lblTitel, QPalette::WindowText, Qt::white);
    lblTitel->move(6, 3);
    lblTitel->adjustSize();

    wndList = new QFrame(this);
    wndList->setObjectName("wndList");
    wndList->setGeometry(0, 36, 463, 361);
    FillBackground(wndList, Qt::white);
    wndList->setFont(SurfaceFont(QStringLiteral("MS Sans Serif"), 8, false));

    auto* band = new QFrame(wndList);
    band->setObjectName("Shape1");
    band->setGeometry(0, 0, 463, 46);
    FillBackground(band, BAND);
    rule(band, QRect(0, 45, 463, 1), RULE);
    rule(band, QRect(168, 3, 1, 40), RULE);
    const int iconLeft[CHART_BUTTONS] = {21, 74, 126, 198, 255, 306, 357, 414};
    for (int i = 0; i < CHART_BUTTONS; ++i) {
        QToolButton* button = Image1[i] = new QToolButton(band);
        button->setObjectName(QString("Image1_%1").arg(i));
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIcon(bandIcon(i));
        button->setIconSize(QSize(16, 16));
        button->setText(ChartButtonCaption(i));
        button->setStyleSheet("QToolButton { padding: 1px; }");
        const QSize size = button->sizeHint();
        // centred under the original's icon; the band leaves each at least 51 pixels
        button->setGeometry(iconLeft[i] + 8 - size.width() / 2, 23 - size.height() / 2, size.width(), size.height());
        connect(button, &QToolButton::clicked, this, [this, i] { Image1_Click(i); });
    }

    Picture2 = new ChartPicture(wndList);
    Picture2->setObjectName("Picture2");
    Picture2->setGeometry(0, 46, 463, 259);
    Label3 = new QLabel("Berechne Diagramm...", Picture2);
    Label3->setObjectName("Label3");
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setFont(SurfaceFont(QStringLiteral("MS Sans Serif"), 8, true));
    Label3->setGeometry(2, 110, 459, 17);
    Label3->hide();

    rule(wndList, QRect(0, 306, 463, 1), RULE);
    const char* const captions[4] = {"Monat:", "Benutzer:", "Anbieter:", "Tarif:"};
    const int captionIndex[4] = {8, 11, 9, 10};
    for (int i = 0; i < 4; ++i) {
        Label1[i] = new QLabel(captions[i], wndList);
        Label1[i]->setObjectName(QString("Label1_%1").arg(captionIndex[i]));
        Label1[i]->adjustSize();
    }
    comZeitraum = list(wndList, "comZeitraum");
    comJahr = list(wndList, "comJahr");
    comUser = list(wndList, "comUser");
    comAnbieter = list(wndList, "comAnbieter");
    comTarif = list(wndList, "comTarif");
    FillList(comZeitraum, GermanMonthNames());
    FillList(comJahr, ChartYearItems(Today().year()));
    setTabOrder(comZeitraum, comJahr);
    setTabOrder(comJahr, comUser);
    setTabOrder(comUser, comAnbieter);
    setTabOrder(comAnbieter, comTarif);

    AxisX = new QLabel("X: Tag", wndList);
    AxisX->setObjectName("AxisX");
    AxisX->setAlignment(Qt::AlignCenter);
    setTextColour(AxisX, QPalette::WindowText, QColor(0, 64, 0));
    AxisY = new QLabel("Y: Kosten (€)", wndList);
    AxisY->setObjectName("AxisY");
    AxisY->setAlignment(Qt::AlignCenter);
    setTextColour(AxisY, QPalette::WindowText, QColor(64, 64, 0));
    placeFilters();

    // a selection made by the user; the program's own selections run the reaction themselves (choose)
    connect(comZeitraum, &QComboBox::currentIndexChanged, this, [this] { comZeitraum_Click(); });
    connect(comJahr, &QComboBox::currentIndexChanged, this, [this] { comJahr_Click(); });
    connect(comUser, &QComboBox::currentIndexChanged, this, [this] { comUser_Click(); });
    connect(comAnbieter, &QComboBox::currentIndexChanged, this, [this] { comAnbieter_Click(); });
    connect(comTarif, &QComboBox::currentIndexChanged, this, [this] { comTarif_Click(); });
    showMarks();
}

// The original's places, widened where this font's captions, years and axis captions need more room than
// its small system font did; the filters keep to the left of the axis captions.
void Chart::placeFilters()
{
    const QFontMetrics metrics(wndList->font());
    const int row[2] = {312, 336};
    auto captionsEnd = [this](int a, int b) { return qMax(Label1[a]->sizeHint().width(), Label1[b]->sizeHint().width()); };
    int axisWidth = 81;
    for (const char* caption : {"Y: Transfer (MB)", "Y: Dauer (Min)", "Y: Kosten (€)", "99999 Verbind."})
        axisWidth = qMax(axisWidth, metrics.horizontalAdvance(QString::fromUtf8(caption)) + 6);
    const int axisLeft = 463 - axisWidth;
    AxisX->setGeometry(axisLeft, 318, axisWidth, 13);
    AxisY->setGeometry(axisLeft, 339, axisWidth, 13);
    const int separator = axisLeft - 3;
    rule(wndList, QRect(separator, 312, 1, 46), QColor(192, 192, 192));

    const int left = qMax(54, 6 + captionsEnd(0, 1) + 4);
    const int yearWidth = qMax(49, metrics.horizontalAdvance(QStringLiteral("0000")) + 30);
    const int monthWidth = qMax(85, metrics.horizontalAdvance(QStringLiteral("September")) + 30);
    const int yearLeft = left + monthWidth + 2;
    Label1[0]->move(6, row[0] + 3);
    Label1[1]->move(6, row[1] + 3);
    comZeitraum->setGeometry(left, row[0], monthWidth, 21);
    comJahr->setGeometry(yearLeft, row[0], yearWidth, 21);
    comUser->setGeometry(left, row[1], yearLeft + yearWidth - left, 21);

    const int rightCaptions = qMax(198, yearLeft + yearWidth + 8);
    const int rightLeft = qMax(245, rightCaptions + captionsEnd(2, 3) + 4);
    Label1[2]->move(rightCaptions, row[0] + 3);
    Label1[3]->move(rightCaptions, row[1] + 3);
    comAnbieter->setGeometry(rightLeft, row[0], separator - 9 - rightLeft, 21);
    comTarif->setGeometry(rightLeft, row[1], separator - 9 - rightLeft, 21);
}

void Chart::Form_Load()
{
    load();
    show();
    DrawDiagramm(selector.state.kind, selector.state.type);
}

void Chart::LoadHidden() { load(); }

void Chart::load()
{
    QComboBox* decorated[5] = {comUser, comZeitraum, comAnbieter, comTarif, comJahr};
    for (int i = 0; i < 5; ++i) {
        m_flat[i] = new cFlatControl(this);
        m_flat[i]->Attach(decorated[i]);
    }
    SetFlatBorder(wndList, true);
    m_loading = true;
    GetUsers();
    const QDate today = Today();
    choose(comZeitraum, today.month() - 1);
    const int year = today.year() - 2001;
    if (year >= 0 && year < comJahr->count()) choose(comJahr, year);
    GetTarife();
    LoadChartConfig();
    m_loading = false;
    ChartState& state = selector.state;
    if (state.kind == 0) state.kind = 1;
    if (state.type == 0) state.type = 2;
    // Marks and enabling follow the kind drawn, so a per-day kind never pairs with "Kreis".
    SelectChartKind(ChartKindButton(state.kind));
}

void Chart::choose(QComboBox* box, int index)
{
    {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(index);
    }
    if (box == comZeitraum) comZeitraum_Click();
    else if (box == comJahr) comJahr_Click();
    else if (box == comUser) comUser_Click();
    else if (box == comAnbieter) comAnbieter_Click();
    else if (box == comTarif) comTarif_Click();
}

void Chart::GetUsers(const QString& user)
{
    FillWithAlle(comUser, GetUserNames());
    int chosen = 0;
    if (!user.isEmpty())
        for (int i = 0; i < comUser->count(); ++i)
            if (comUser->itemText(i).toLower() == user.toLower()) chosen = i;
    choose(comUser, chosen);
}

void Chart::GetTarife()
{
    FillWithAlle(comAnbieter, ListProviders());
    comAnbieter_Click();
}

void Chart::SetTarif()
{
    FillList(comTarif, {});
    if (comAnbieter->currentText() == ALL_ITEMS) {
        comTarif->setEnabled(false);
        redrawAndSave();
        return;
    }
    comTarif->setEnabled(true);
    FillWithAlle(comTarif, ListTarifItems(comAnbieter->currentText()));
    comTarif_Click();
}

void Chart::comZeitraum_Click() { redrawAndSave(); }
void Chart::comJahr_Click() { redrawAndSave(); }
void Chart::comUser_Click() { redrawAndSave(); }
void Chart::comAnbieter_Click() { SetTarif(); }
void Chart::comTarif_Click() { redrawAndSave(); }

void Chart::redrawAndSave()
{
    if (isHidden() || m_loading) return;
    DrawDiagramm(selector.state.kind, selector.state.type);
    SaveChartConfig();
}

void Chart::Image1_Click(int index)
{
    if (!selector.Click(index, comAnbieter->currentText() != ALL_ITEMS)) return;
    showMarks();
    redrawAndSave();
}

void Chart::SelectChartType(int index)
{
    selector.SelectChartType(index);
    showMarks();
}

void Chart::SelectChartKind(int index)
{
    selector.SelectChartKind(index, comAnbieter->currentText() != ALL_ITEMS);
    showMarks();
}

void Chart::showMarks()
{
    for (int i = 0; i < CHART_BUTTONS; ++i) {
        QToolButton* button = Image1[i];
        QFont font = button->font();
        font.setUnderline(selector.marked(i));
        button->setFont(font);
        QPalette palette = button->palette();
        const QColor text = selector.marked(i) ? MARK : QColor(Qt::black);
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::ButtonText, text);
        button->setPalette(palette);
        button->setEnabled(selector.enabled(i));
    }
    comUser->setEnabled(selector.userAndProviderEnabled());
    comAnbieter->setEnabled(selector.userAndProviderEnabled());
    if (selector.tarifEnabling() == ChartSelector::TarifEnabling::Enable) comTarif->setEnabled(true);
    if (selector.tarifEnabling() == ChartSelector::TarifEnabling::Disable) comTarif->setEnabled(false);
}

void Chart::DrawDiagramm(int kind, int type)
{
    Label3->show();
    Label3->repaint(); // the walk below keeps the event loop waiting
    const RecordSelection selection{comUser->currentText(), comAnbieter->currentText(), comTarif->currentText()};
    DiagramCaptions captions;
    {
        PainterSurface surface(&Picture2->image);
        captions = DrawChart(surface, kind, type, int(Val(comJahr->currentText())), comZeitraum->currentIndex() + 1,
                             selection);
    }
    AxisX->setText(captions.axisX);
    AxisY->setText(captions.axisY);
    Label3->hide();
    Picture2->update();
}

void Chart::LoadChartConfig()
{
    const std::optional<StoredChartSettings> stored = ::LoadChartConfig();
    if (!stored) return;
    auto position = [this](QComboBox* box, const std::optional<int>& index) {
        if (index && *index < box->count()) choose(box, *index);
    };
    auto text = [this](QComboBox* box, const std::optional<QString>& item) {
        if (!item) return;
        const int index = box->findText(*item, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0) choose(box, index);
    };
    position(comZeitraum, stored->month);
    position(comJahr, stored->year);
    text(comUser, stored->user);
    text(comAnbieter, stored->provider);
    text(comTarif, stored->tarif);
    if (stored->kind != 0) {
        selector.state.kind = stored->kind;
        SelectChartKind(ChartKindButton(stored->kind));
    }
    if (stored->type != 0) {
        selector.state.type = stored->type;
        SelectChartType(stored->type - 1);
    }
}

void Chart::SaveChartConfig()
{
    ::SaveChartConfig({comZeitraum->currentIndex(), comJahr->currentIndex(), comUser->currentText(),
                       comAnbieter->currentText(), comTarif->currentText(), selector.state.kind,
                       selector.state.type});
}

bool Chart::SelectPositions(int month, int year, int user, int provider, int tariff)
{
    const std::pair<QComboBox*, int> lists[5] = {
        {comZeitraum, month}, {comJahr, year}, {comUser, user}, {comAnbieter, provider}, {comTarif, tariff}};
    for (const auto& [box, index] : lists) {
        if (index < -1 || index >= box->count()) return false;
        choose(box, index);
    }
    return true;
}

bool DrawExportCharts(const ExportChartRequest& request)
{
    const auto chart = std::make_unique<Chart>();
    chart->LoadHidden();
    if (!chart->SelectPositions(request.monthIndex, request.yearIndex, request.userIndex, request.providerIndex,
                                request.tariffIndex))
        return false;
    chart->DrawDiagramm(1, 2);
    if (!chart->Picture2->image.save(request.durationPath, "BMP")) return false;
    chart->DrawDiagramm(3, 2);
    return chart->Picture2->image.save(request.transferPath, "BMP");
}
