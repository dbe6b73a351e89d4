#pragma once
// The floating counter: a small window above all others that repeats duration, cost, kilobytes and
// rate of the running recording. Dragged by its surface, made translucent by its slider; its place
// and opacity outlive it in Config/Smallwindowpos.cfg.
#include "recording/SmallWindowPlacement.h"

#include <QFrame>
#include <QPoint>
#include <QWidget>

class QLabel;
class QPushButton;
class OpacitySlider;

class SmallWindow : public QWidget {
    Q_OBJECT
public:
    explicit SmallWindow(QWidget* parent = nullptr);
    ~SmallWindow() override;

    QFrame* Picture1 = nullptr;   // the surface: drag and double-click area
    QLabel* Label2[4] = {};       // duration, cost, kilobytes, rate
    OpacitySlider* Picture2 = nullptr;
    QPushButton* Command1 = nullptr; // minimises both windows

    bool loading = false;
    int opacity = SMALL_WINDOW_DEFAULT_OPACITY;
    bool sliderPressed = false;

    void Form_Load();
    void LoadPos();
    void SavePos();
    void ApplyOpacity();
    void Picture2_MouseDown(int x);
    void Picture2_MouseMove(int x);
    void Picture2_MouseUp(int x);
    void Picture1_DblClick(); // brings a minimised or tray-hidden main window back
    void Command1_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void slideTo(int x);
    QPoint m_pressAt;
    bool m_pressed = false;
};

// The slider strip: a knob drawn where the opacity puts it.
class OpacitySlider : public QFrame {
    Q_OBJECT
public:
    explicit OpacitySlider(SmallWindow& window);
    double knobX = OpacityKnobX(SMALL_WINDOW_DEFAULT_OPACITY);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int innerX(const QMouseEvent* event) const;
    SmallWindow& m_window;
};

// The open floating window, nullptr when none.
SmallWindow* SmallWindowInstance();
// Creates and loads the window when it is not open, shows it and places it by its stored position.
SmallWindow* ShowSmallWindow();
// Closes the window; closing stores its place.
void UnloadSmallWindow();
