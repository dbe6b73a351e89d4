#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;

// DLG_DELSHARED: whether a shared file at its last reference goes. Ends with 6 (Yes), 10 (Yes to
// all), 7 (No, Escape) or 9 (No to all).
class TDelSharedDialog : public QDialog {
    Q_OBJECT
public:
    // Texts: ids 15 to 22 in order.
    TDelSharedDialog(const QString& File, const QStringList& Texts, QWidget* Parent);

    QLineEdit* FileName;
    QLineEdit* Folder;
    QPushButton* Buttons[4];

protected:
    void closeEvent(QCloseEvent* Event) override;
    void reject() override;
};
