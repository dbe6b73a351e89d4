#pragma once
// The defined period of the connection list: start and end date, stored in Config/Period.cfg on OK.
#include <QDialog>

class QLineEdit;
class QPushButton;

class Definiert : public QDialog {
    Q_OBJECT
public:
    explicit Definiert(QWidget* parent = nullptr);

    QLineEdit* Text1[2] = {}; // "Von", "bis"
    QPushButton* Command1 = nullptr; // "O&K"
    QPushButton* Command2 = nullptr; // "A&bbrechen"

    // Handlers
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
