#pragma once
// "Differenzierung": by which quantity the connection list marks its rows, and the thresholds of the
// four levels. Saved only on OK.
#include "records/DifferenceSettings.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class Difference : public QDialog {
    Q_OBJECT
public:
    explicit Difference(QWidget* parent = nullptr);

    // Controls; box 3 of each frame only mirrors box 2 and is never stored.
    QComboBox* comCategory = nullptr;
    QGroupBox* Frame1[3] = {}; // "Kosten", "Dauer", "Volumen"
    QLineEdit* Text1[4] = {};  // cost
    QLineEdit* Text2[4] = {};  // duration
    QLineEdit* Text3[4] = {};  // volume, KB
    QPushButton* Command1[2] = {}; // "&OK", "A&bbrechen"

    bool SaveDifference(); // false when the file could not be written
    void LoadDifference();

    // Handlers
    void Form_Load();
    void comCategory_Click();
    void Command1_Click(int index);
    void Text1_LostFocus(int index);
    void Text2_LostFocus(int index);
    void Text3_LostFocus(int index);

private:
    void buildControls();
};
