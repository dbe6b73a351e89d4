#pragma once
// The page "Analyse": a period and a user summed up in eleven sentences and three totals, computed anew
// from the record files on every selection. It keeps and saves nothing.
#include <QWidget>

class Form1;
class QComboBox;
class QFrame;
class QLabel;
class cFlatControl;

class Report : public QWidget {
    Q_OBJECT
public:
    explicit Report(QWidget* parent = nullptr);

    // Controls
    QFrame* Picture1 = nullptr; // the grey title strip
    QLabel* lblTitel = nullptr;
    QFrame* wndReport = nullptr; // the white panel that holds the rest
    QLabel* Label1 = nullptr;
    QLabel* Label2[11] = {}; // the sentences
    QLabel* Label3[5] = {};  // captions
    QWidget* Line3[3] = {};
    QComboBox* comZeitraum = nullptr;
    QComboBox* comUser = nullptr;
    QLabel* lblGesamtDauer = nullptr;
    QLabel* lblGesamtTransfer = nullptr;
    QLabel* lblGesamtKosten = nullptr;

    // Public operations
    void GetUsers();

    // Handlers
    void Form_Load();
    void comZeitraum_Click();
    void comUser_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void showAnalysis();
    void fitSentences();
    int px(int twips) const;

    cFlatControl* m_flat[2] = {};
};

// Registers the page in the main window's page table.
QWidget* CreateReportPage(Form1& mainWindow);
