#pragma once
// The page "Monatsdiagramm": one month's connections per day as lines or bars, or per tariff or user as a
// pie, chosen by the band above the picture and the five lists below it. Every change made while the page
// is shown redraws and saves the view; kind and type outlive the page.
#include "analysis/ChartSelector.h"

#include <QImage>
#include <QWidget>

class Form1;
class QComboBox;
class QFrame;
class QLabel;
class QToolButton;
class cFlatControl;
struct ExportChartRequest;

// The drawing surface's picture, shown as it is.
class ChartPicture : public QWidget {
public:
    explicit ChartPicture(QWidget* parent);
    QImage image;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class Chart : public QWidget {
    Q_OBJECT
public:
    explicit Chart(QWidget* parent = nullptr);

    // Controls
    QFrame* Picture1 = nullptr; // the grey title strip
    QLabel* lblTitel = nullptr;
    QFrame* wndList = nullptr;
    QToolButton* Image1[CHART_BUTTONS] = {}; // the band: icon with its caption under it
    ChartPicture* Picture2 = nullptr;
    QLabel* Label3 = nullptr; // "Berechne Diagramm..."
    QLabel* Label1[4] = {};   // "Monat:", "Benutzer:", "Anbieter:", "Tarif:"
    QComboBox* comZeitraum = nullptr;
    QComboBox* comJahr = nullptr;
    QComboBox* comUser = nullptr;
    QComboBox* comAnbieter = nullptr;
    QComboBox* comTarif = nullptr;
    QLabel* AxisX = nullptr;
    QLabel* AxisY = nullptr;

    ChartSelector selector{ChartWindowState()};

    // Public operations
    void DrawDiagramm(int kind, int type);
    void GetUsers(const QString& user = QString());
    void GetTarife();
    void SetTarif();
    void SelectChartType(int index);
    void SelectChartKind(int index);

    // Handlers
    void Form_Load();
    void comZeitraum_Click();
    void comJahr_Click();
    void comUser_Click();
    void comAnbieter_Click();
    void comTarif_Click();
    void Image1_Click(int index);

    // The load steps without showing or drawing, for drawing charts off screen.
    void LoadHidden();
    // Selects the five lists' positions as given (-1: nothing), each running its reaction; false when a
    // list lacks its position.
    bool SelectPositions(int month, int year, int user, int provider, int tariff);

private:
    void buildControls();
    void placeFilters();
    void load();
    void choose(QComboBox* list, int index);
    void showMarks();
    void redrawAndSave();
    void LoadChartConfig();
    void SaveChartConfig();

    bool m_loading = false;
    cFlatControl* m_flat[5] = {};
};

// Registers the page in the main window's page table.
QWidget* CreateChartPage(Form1& mainWindow);

// The HTML export's two bar charts (minutes online, megabytes) of the request's month and filters, drawn by
// a hidden page that is closed again; the view the user saved stays as it was.
bool DrawExportCharts(const ExportChartRequest& request);
