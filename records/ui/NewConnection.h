#pragma once
// "Verbindungsdaten": a connection entered by hand (NewConnection) or a stored one changed
// (ChangeConnection, derived with only its differences). Each owns its cost estimate.
#include "records/HandEntryCost.h"
#include "records/HandEntryRecord.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class NewConnection : public QDialog {
    Q_OBJECT
public:
    explicit NewConnection(QWidget* parent = nullptr);

    // Controls; Text1(8), the comment, is a multi-line edit of its own type.
    QLabel* lblTitel = nullptr;
    QLabel* lblHilfe = nullptr;
    QLabel* Label1[13] = {};
    QLineEdit* Text1[8] = {};
    QPlainTextEdit* Text1_8 = nullptr;
    QComboBox* comAnbieter = nullptr;
    QComboBox* comTarif = nullptr;
    QComboBox* comDFUE = nullptr; // "comDFÜ"
    QComboBox* comUser = nullptr;
    QPushButton* Command1[2] = {}; // "&Speichern", "A&bbrechen"

    // Public operations (the list fillers)
    void SetTarif();
    void GetTarife();
    void GetUsers();
    void GetDFUE(); // "GetDFÜ"

    // Handlers
    virtual bool Form_Load(); // false when the dialog closed at once
    void comAnbieter_Click();
    virtual void comTarif_Click();
    void Command1_Click(int index);
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);

    HandEntryFields fields() const;

protected:
    NewConnection(bool editing, QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // The entry dialog selects first items and prices on every leave; editing does neither by itself.
    virtual bool selectsFirstItems() const { return true; }
    virtual bool recomputesOnLeave() const { return true; }
    virtual QString oldRecordName() const { return {}; }
    void recomputeCost();

    HandEntryCost m_cost;

private:
    void buildControls(bool editing);
    void limitComment();
    QString m_comment; // the last comment within the field's limit
};

class ChangeConnection : public NewConnection {
    Q_OBJECT
public:
    // `recordName`: the file name of the record to edit, as the list's grid holds it.
    explicit ChangeConnection(const QString& recordName, QWidget* parent = nullptr);

    QString Tag;         // the record being edited
    QString comTarifTag; // "1" once the user picked a tariff: from then on the cost follows it

    bool Form_Load() override;
    void comTarif_Click() override;

protected:
    bool selectsFirstItems() const override { return false; }
    bool recomputesOnLeave() const override;
    QString oldRecordName() const override { return Tag; }
};
