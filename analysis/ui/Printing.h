#pragma once
// "Drucken...": the report page of the connections the list shows, with its preview, printed on a chosen
// printer. The page itself is drawn by DrawPrintPage; this window holds the choices and the print run.
#include "analysis/PrintPage.h"

#include <QDialog>

class ConnectionListView;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

class Printing : public QDialog {
    Q_OBJECT
public:
    explicit Printing(const ConnectionListView& list, QWidget* parent = nullptr);
    ~Printing() override;

    // Controls
    QFrame* Shape1[2] = {};
    QLabel* Label1[4] = {}; // 0 "Druckvorschau:", 1 "Drucker", 3 "Anzahl der Kopien"; 2 unused
    QFrame* Shape2 = nullptr;
    QLabel* IDPreview = nullptr; // the page, 251 x 343
    QLabel* Label2 = nullptr;    // "Erstelle Vorschau..." while the page is drawn
    QCheckBox* Check4 = nullptr; // "Vorschau"
    QGroupBox* Frame2 = nullptr; // printer and copies
    QLabel* Image2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command2 = nullptr;
    QRadioButton* Option4 = nullptr; // "Bunt"
    QRadioButton* Option5 = nullptr; // "Monochrom"
    QLabel* Image4 = nullptr;
    QLineEdit* Text1 = nullptr;    // copies
    QScrollBar* VScroll1 = nullptr; // minus the copies, so that its upper arrow counts up
    QGroupBox* Frame1 = nullptr;    // month diagrams
    QLabel* Image3 = nullptr;
    QCheckBox* Check1 = nullptr;
    QComboBox* comZeitraum = nullptr; // month of the diagrams
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QGroupBox* Frame3 = nullptr; // connections
    QLabel* Image5 = nullptr;
    QRadioButton* Option6 = nullptr; // "Rechnungsform"
    QRadioButton* Option7 = nullptr; // "Listenform"
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr; // "Farbliche differenzieren"
    QPushButton* Command3 = nullptr;
    QPushButton* Command1[2] = {}; // "&Drucken", "A&bbrechen"

    bool IsLoading = false;

    // Public operations
    void Vorschau();
    void Drucken();
    PrintPageOptions PageOptions() const;
    // The copies of a copies text: read as a number, halves to the even neighbour, as a 16-bit number.
    static int CopiesFromText(const QString& text);

    // Handlers
    void Form_Load();
    void Option4_Click(); // "Bunt" or "Monochrom" turned on
    void Option6_Click(); // "Rechnungsform" or "Listenform" turned on
    void Check4_Click();
    void Text1_Change();
    void VScroll1_Change();
    void Command1_Click(int index);
    void Command2_Click();
    void Command3_Click();

private:
    void buildControls();
    void redraw();
    void enableMarking(bool on);
    void clearPreview();

    const ConnectionListView& m_list;
};

// Opens the window modally over the connection list.
void ShowPrinting(QWidget* owner, const ConnectionListView& list);
