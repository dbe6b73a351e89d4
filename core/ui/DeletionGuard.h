#pragma once
// A window deleted inside a nested event loop (a message box, a dialog, a wait for the web) is freed
// under the handler that opened that loop and still runs, and a dialog on that handler's stack is then
// freed twice. While the guard is installed, every widget's deferred deletion that comes up inside a
// nested loop is held until control is back in the main loop; what is still held when the guard goes
// (after the main loop has ended) is deleted then.
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

class DeletionGuard : public QObject {
public:
    DeletionGuard();
    ~DeletionGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void release();

    QList<QPointer<QObject>> m_held;
    QMetaObject::Connection m_loopsIdle; // while something is held
};

// The level of the program's main loop (QCoreApplication::exec); a loop above it is nested.
inline constexpr int MAIN_LOOP_LEVEL = 1;
