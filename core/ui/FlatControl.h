#pragma once
// Flat look with hot tracking for one combo box or text box: flat in the button-face colour while idle,
// sunken while the mouse is over it or it has the focus, with a pressed button while a combo's list is open.
#include <QObject>
#include <QPointer>

class QWidget;
class QEvent;

class cFlatControl : public QObject {
    Q_OBJECT
public:
    enum State { Flat = 1, Hot = 2, Pressed = 4 };

    explicit cFlatControl(QObject* parent = nullptr);
    ~cFlatControl() override;

    // Detaches from any earlier control first; a null control leaves nothing attached.
    void Attach(QWidget* control);
    // True while an attached combo box has its list open.
    bool DroppedDown() const;
    // The frame drawn now: Flat, Hot or Pressed.
    int state() const;
    QWidget* control() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void detach();
    void refresh();
    void paintFrame();

    QPointer<QWidget> m_control;
    QPointer<QWidget> m_edit;  // the edit part of an editable combo box
    QPointer<QWidget> m_popup; // the window that holds a combo box's list
    bool m_combo = false;
    bool m_mouseOver = false;
    bool m_focus = false;
    bool m_dropped = false;
    int m_state = Flat;
};
