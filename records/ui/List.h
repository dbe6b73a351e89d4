#pragma once
// The page "Verbindungsliste": the stored connection records in a grid, filtered by period, user,
// provider and tariff, with their totals, the net-price mode, the sorting by a header click and the
// toolbar that enters, edits, deletes, exports and marks records. Filters, sort and column layout are
// kept in Config/List.cfg.
#include "records/ConnectionList.h"
#include "records/ConnectionListView.h"
#include "records/ListSort.h"

#include <QIcon>
#include <QList>
#include <QTreeWidget>
#include <QWidget>

class Form1;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QToolButton;
class cFlatControl;

inline const QString LIST_EDIT_REFUSED_MESSAGE = QStringLiteral(
    "Das erstellen oder modifizieren von Listeneinträgen wurde Ihnen in den Benutzereinstellungen verboten.");

// The grid; its Tag carries the file name of the record that the editing dialog opens.
class ConnectionGrid : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    QString Tag;
};

class List : public QWidget, public ConnectionListView {
    Q_OBJECT
public:
    explicit List(QWidget* parent = nullptr);
    ~List() override;

    // Controls
    QFrame* wndList = nullptr;
    QComboBox* comZeitraum = nullptr;
    QComboBox* comListUser = nullptr;
    QComboBox* comAnbieter = nullptr;
    QComboBox* comTarif = nullptr;
    QCheckBox* chkNetto = nullptr; // switched by the toolbar item "Nettokosten"
    QToolButton* Image1[7] = {};   // toolbar: image and caption in one button
    QToolButton* Label3 = nullptr; // "..." beside the period: define a period
    ConnectionGrid* lstConnections = nullptr;
    QFrame* Picture2 = nullptr; // "Lade Verbindungsdaten..." while a load runs
    QLabel* Label4 = nullptr;
    QLabel* lblGesamtDauer = nullptr;
    QLabel* lblGesamtKosten = nullptr;
    QIcon ilsIcons[4]; // marking images 0-3

    // Public operations
    void SetTarif();
    void GetTarife();
    void GetUsers();
    void GenerateList();
    void GetConnections();
    // A column's width before the user changes it (1-based, as the grid is addressed).
    int DefaultColumnWidth(int column) const;

    // Handlers
    void Form_Load();
    void chkNetto_Click();
    void comAnbieter_Click();
    void comTarif_Click();
    void comListUser_Click();
    void comZeitraum_Click();
    void lstConnections_ColumnClick(int column); // columns from 1
    void lstConnections_ColumnWidthChanged();
    void lstConnections_ColumnOrderChanged();
    void Image1_Click(int index);
    void Label2_Click(int index) { Image1_Click(index); }
    void Label3_Click();

    // ConnectionListView
    QString periodText() const override;
    int periodIndex() const override;
    QString userText() const override;
    int userIndex() const override;
    QString providerText() const override;
    int providerIndex() const override;
    QString tariffText() const override;
    int tariffIndex() const override;
    QString headerText(int column) const override;
    int rowCount() const override;
    QString cellText(int row, int column) const override;
    int columnCount() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void LoadListSettings();
    void SaveListSettings();
    void markNetMode();
    void sortRows();
    void deleteSelectedRecords();
    void editSelectedRecord();
    void showDefiniert();

    bool m_loading = false;
    QObject* m_headerViewport = nullptr;
    bool m_headerPressed = false;   // a mouse button is down on the header: a drag may be resizing
    bool m_widthChangeSaved = true; // false while a drag's new width waits for its release
    ListMarking m_marking;
    ListSortKey m_sort;       // the remembered sort: column 1-13, order and type codes; 0 = none
    QList<ListSortKey> m_keys; // the keys the rows are sorted by
    QList<cFlatControl*> m_flat;
};

// Registers the page in the main window's page table.
QWidget* CreateListPage(Form1& mainWindow);
