#pragma once
// The dial progress window: shows the state of the dial under way and closes once it is connected.
#include "core/Waits.h"

#include <QDialog>
#include <QMetaObject>

#include <optional>

class QLabel;
class QPushButton;

class Status : public QDialog {
    Q_OBJECT
public:
    explicit Status(QWidget* parent = nullptr);
    ~Status() override;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;

    void OnRasDialEvent(quint32 state);
    void Command1_Click();
    // Escape: the dial is cancelled as by "Abbrechen".
    void reject() override;

protected:
    // The close box cancels the dial as "Abbrechen" does; the window's own closes (connected, a failed
    // dial, the program's end) leave the line alone.
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    bool cancelDial(); // false when the window is gone or a cancel is already under way
    QMetaObject::Connection m_hook;
    bool m_cancelling = false;
    std::optional<WaitUnderWay> m_dial; // the dial is under way while its window is loaded
};

// The window of the dial under way, loaded hidden when it is not loaded.
Status* StatusWindow();
// Shows the dial's window (modal: until it closes); does nothing when the dial has already ended it.
void ShowStatusWindow(bool modal);
// Hands the dial logic this window (program start, window tests).
void InstallDialProgressWindow();
