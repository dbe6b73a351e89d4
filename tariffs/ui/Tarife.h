#pragma once
// The page "Tarifliste": every tariff of the folder Tarife as a tree of providers and their tariffs, the
// details of the chosen one, the editor's buttons and the automatic update settings.
#include "tariffs/TarifTree.h"

#include <QPointer>
#include <QWidget>

class Form1;
class cFlatControl;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class Tarifdaten;

class Tarife : public QWidget {
    Q_OBJECT
public:
    explicit Tarife(QWidget* parent = nullptr);
    ~Tarife() override;
    // The open page, or nullptr; asking never creates it.
    static Tarife* open();

    // Controls
    QFrame* wndTarife = nullptr;
    QTreeWidget* lstTarife = nullptr;
    QLabel* lblTarif[13] = {};
    QLabel* Label1[31] = {}; // the static captions used: 18-23, 25-30
    QPushButton* Command1[3] = {};
    QCheckBox* Check3 = nullptr;
    QComboBox* comAutoupdate = nullptr;
    QLabel* lblLink = nullptr;
    QLabel* Picture2 = nullptr; // busy overlay
    QMenu* treeMenu = nullptr;
    cFlatControl* flatAutoupdate = nullptr;

    // The editor window while it is open.
    QPointer<Tarifdaten> editor;

    // Public operations; rows are items of lstTarife.
    void GetTarife();
    void Expand(QTreeWidgetItem* row);
    void ExpandTree(QTreeWidgetItem* row);
    void DeexpandTree(QTreeWidgetItem* row);
    void ShowTarif(QTreeWidgetItem* row);

    // Handlers
    void Form_Load();
    void Command1_Click(int index);
    void Check3_Click();
    void comAutoupdate_Click();
    void lblLink_Click();
    void lstTarife_DblClick(QTreeWidgetItem* row);

    // The file a tariff row names; empty for a provider row.
    static QString fileOfRow(const QTreeWidgetItem* row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void SaveAutoupdateSettings();
    void showEditor(Tarifdaten* window);
    void setOpenIcon(QTreeWidgetItem* row);

    bool m_loading = false;
};

// Registers the page in the main window's page table.
QWidget* CreateTarifePage(Form1& mainWindow);
