#pragma once
// The tariff editor "Tarifdaten": one window for a new tariff (object name "NewTarif") and for a changed
// one ("ChangeTarif"). Its logic is TarifEditor's; the window binds the controls to it.
#include "tariffs/TarifEditor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

class Tarifdaten : public QDialog {
    Q_OBJECT
public:
    enum Kind { NewTarif, ChangeTarif };
    explicit Tarifdaten(Kind kind, QWidget* parent = nullptr);
    Kind kind() const { return m_kind; }

    // The file LoadTarif reads: the hand-made tariff being changed, or the downloaded one taken as a template.
    QString Tag;
    // "1" while the tariff is a template taken from a downloaded one: saving then deletes no file.
    QString comAnbieterTag;

    // Controls
    QComboBox* comAnbieter = nullptr;
    QLineEdit* Text1[13] = {};
    QCheckBox* Check1[7] = {};
    QLabel* Label2[14] = {};
    QPushButton* Command1[2] = {}; // "&Speichern", "A&bbrechen"
    QPushButton* Command2[2] = {}; // "Hinzufügen", "Löschen"
    QListWidget* List1 = nullptr;
    QWidget* Picture1 = nullptr; // volume price and unit

    int volumePriceIndex() const { return m_kind == NewTarif ? 10 : 12; }
    int volumeUnitIndex() const { return m_kind == NewTarif ? 11 : 3; }

    // Public operations
    void GetTarife();
    bool LoadTarif(); // false when there was nothing to load: the window has closed

    // Handlers
    void Form_Load();
    void Check1_Click(int index);
    void Command1_Click(int index);
    void Command2_Click(int index);
    void Text1_LostFocus(int index);

private:
    void buildControls();
    TarifFields fields() const;
    void showFields(const TarifFields& f);
    void finish();

    Kind m_kind;
    TarifFields m_kept; // the values LoadTarif read that the window does not show
};
