#include "analysis/ui/Report.h"

#include "analysis/Analysis.h"
#include "core/ui/ElidedLabel.h"
#include "core/ui/FlatControl.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"
#include "users/UserRecord.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QStackedWidget>

namespace {
const char* const PERIODS[6] = {"Gesamt",           "Dieser Monat", "Letzter Monat",
                                "Vorletzter Monat", "Dieses Jahr",  "Letztes Jahr"};
const int LIGHT_GREY = 192 + 192 * 256 + 192 * 65536;
const int DARK_GREY = 64 + 64 * 256 + 64 * 65536;
const int DARK_RED = 192;
// The page's layout in twips at its design size, as the original places it.
const int STRIP_TOP = 90, STRIP_HEIGHT = 360, PANEL_TOP = 540;
} // namespace

QWidget* CreateReportPage(Form1& mainWindow)
{
    QPointer<Report> page = new Report(mainWindow.pages);
    page->Form_Load();
    return page.data();
}

Report::Report(QWidget* parent) : QWidget(parent)
{
    setObjectName("Report");
    setWindowTitle("Analyse");
    RegisterForm(this);
    buildControls();
}

int Report::px(int twips) const { return qRound(twips * logicalDpiX() / 1440.0); }

void Report::buildControls()
{
    Picture1 = new QFrame(this);
    Picture1->setObjectName("Picture1");
    FillBackground(Picture1, QColor(128, 128, 128));
    lblTitel = new QLabel("Analyse", Picture1);
    lblTitel->setObjectName("lblTitel");
    lblTitel->setFont(QFont("Arial", 12));
    QPalette white = lblTitel->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    lblTitel->setPalette(white);
    lblTitel->move(px(90), px(45));
    lblTitel->adjustSize();

    wndReport = new QFrame(this);
    wndReport->setObjectName("wndReport");
    FillBackground(wndReport, Qt::white);
    // the original's small default font: the longest sentence fits the panel's width
    QFont small("Arial", 8);
    small.setStyleHint(QFont::SansSerif);
    wndReport->setFont(small);

    auto label = [this](const QString& name, const QString& text, int left, int top, QLabel* l = nullptr) {
        if (!l) l = new QLabel(wndReport);
        l->setText(text);
        l->setObjectName(name);
        KeepRoomForUmlauts(l);
        l->move(px(left), px(top));
        l->adjustSize();
        return l;
    };
    auto line = [this](int i, int x1, int y1, int x2, int y2) {
        Line3[i] = new QWidget(wndReport);
        Line3[i]->setObjectName(QString("Line3_%1").arg(i));
        FillBackground(Line3[i], VbColor(LIGHT_GREY));
        Line3[i]->setGeometry(px(qMin(x1, x2)), px(qMin(y1, y2)), qMax(1, px(qAbs(x2 - x1))),
                              qMax(1, px(qAbs(y2 - y1))));
    };

    Label1 = label("Label1",
                   "Hier erhalten Sie einen kleinen Überblick über Ihr durchschnittliches Surfverhalten. Das kann "
                   "insbesondere bei der Tarifwahl hilfreich sein. ",
                   135, 135);
    WrapLabel(Label1);
    Label1->setFixedWidth(px(6675));
    Label1->setMinimumHeight(px(420));
    SetLabelColor(Label1, DARK_GREY);
    line(0, 90, 675, 6795, 675);
    for (int i = 0; i < 11; ++i) {
        // a sentence names a user, an entry or a tariff: one too long even in the smallest face ends in "…"
        auto* sentence = new ElidedLabel(wndReport);
        sentence->setPreferredCharacters(0);
        Label2[i] = label(QString("Label2_%1").arg(i), QString(), 180, 900 + 315 * i, sentence);
    }
    line(1, 90, 4500, 6795, 4500);
    Label3[0] = label("Label3_0", "Zeitraum:", 180, 4680);
    Label3[1] = label("Label3_1", "Benutzer:", 180, 5040);
    line(2, 3195, 5310, 3195, 4590);
    Label3[3] = label("Label3_3", "Verbindungsdauer gesamt:", 3420, 4590);
    Label3[2] = label("Label3_2", "Transfer gesamt:", 3420, 4860);
    Label3[4] = label("Label3_4", "Verbindungskosten gesamt:", 3420, 5130);
    lblGesamtDauer = label("lblGesamtDauer", QString(), 5580, 4590);
    lblGesamtTransfer = label("lblGesamtTransfer", QString(), 5580, 4860);
    lblGesamtKosten = label("lblGesamtKosten", QString(), 5580, 5130);
    // the totals start after the longest caption where this font's captions outgrow the original's column
    const int captionsEnd = qMax(Label3[3]->geometry().right(), Label3[4]->geometry().right()) + px(90);
    for (QLabel* total : {lblGesamtDauer, lblGesamtTransfer, lblGesamtKosten}) {
        SetLabelColor(total, DARK_RED);
        total->move(qMax(total->x(), captionsEnd), total->y());
    }

    comZeitraum = new QComboBox(wndReport);
    comZeitraum->setObjectName("comZeitraum");
    comZeitraum->setGeometry(px(1020), px(4635), px(1995), px(315));
    QStringList periods;
    for (const char* p : PERIODS) periods << QString::fromUtf8(p);
    FillList(comZeitraum, periods);
    comUser = new QComboBox(wndReport);
    comUser->setObjectName("comUser");
    comUser->setGeometry(px(1020), px(4995), px(1995), px(315));
    // a selection made by the program recomputes as one made by the user does
    connect(comZeitraum, &QComboBox::currentIndexChanged, this, [this] { comZeitraum_Click(); });
    connect(comUser, &QComboBox::currentIndexChanged, this, [this] { comUser_Click(); });
}

void Report::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Picture1->setGeometry(0, px(STRIP_TOP), width(), px(STRIP_HEIGHT));
    wndReport->setGeometry(0, px(PANEL_TOP), width(), height() - px(PANEL_TOP));
    fitSentences();
}

void Report::Form_Load()
{
    m_flat[0] = new cFlatControl(this);
    m_flat[0]->Attach(comUser);
    m_flat[1] = new cFlatControl(this);
    m_flat[1]->Attach(comZeitraum);
    SetFlatBorder(wndReport, true);
    GetUsers();
    show();
    comZeitraum->setCurrentIndex(0);
}

void Report::GetUsers()
{
    FillWithAlle(comUser, GetUserNames());
    comUser_Click();
}

void Report::comZeitraum_Click() { showAnalysis(); }

void Report::comUser_Click() { showAnalysis(); }

void Report::showAnalysis()
{
    const AnalysisResult result = BuildAnalysis(comZeitraum->currentText(), comUser->currentText());
    for (int i = 0; i < 11; ++i) Label2[i]->setText(result.sentences.value(i));
    fitSentences();
    const std::pair<QLabel*, QString> totals[] = {{lblGesamtDauer, result.totalDuration},
                                                  {lblGesamtTransfer, result.totalTransfer},
                                                  {lblGesamtKosten, result.totalCost}};
    for (const auto& [label, text] : totals) {
        label->setText(text);
        label->adjustSize();
    }
}

void Report::fitSentences()
{
    for (int i = 0; i < 11; ++i) {
        QLabel* label = Label2[i];
        // a sentence wider than the panel is narrowed rather than cut off: its row has room for one line only
        QFont font = wndReport->font();
        font.setBold(i == 10);
        const int room = wndReport->width() - label->x() - px(90);
        const int needed = QFontMetrics(font).horizontalAdvance(label->text());
        if (needed > room && room > 0) font.setPointSizeF(qMax(5.0, font.pointSizeF() * room / needed));
        label->setFont(font);
        label->adjustSize();
        // the smallest face still too wide: the sentence ends in "…" at the panel's edge
        const int edge = wndReport->width() - label->x();
        if (label->width() > edge) label->resize(qMax(0, edge), label->height());
    }
}
