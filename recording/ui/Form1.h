#pragma once
// The main window: a fixed-size frame with the navigation bar on the left and the pages beside it.
#include <QWidget>

class Form1 : public QWidget {
    Q_OBJECT
public:
    static Form1* instance(); // created on first use
    static bool exists();
    void Form_Load();
    ~Form1() override;

private:
    explicit Form1(QWidget* parent = nullptr);
    static Form1* s_instance;
};
