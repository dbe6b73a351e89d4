#include "core/ui/DeletionGuard.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
// A page whose method waits in a loop of its own (a message box, a wait for the web) and then reads itself.
class WaitingPage : public QWidget {
public:
    QString caption = QStringLiteral("Übersicht");
    QString clickAndWait(QWidget* item)
    {
        QCoreApplication::postEvent(item, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1),
                                                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        QEventLoop box;
        QTimer::singleShot(100, &box, &QEventLoop::quit);
        box.exec();
        return caption;
    }
};

// The navigation: a click on its item unloads the page, as an event filter of the main window does.
class Navigation : public QObject {
public:
    explicit Navigation(WaitingPage* page) : m_page(page) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && m_page) m_page->deleteLater();
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<WaitingPage> m_page;
};

void runMainLoopFor(int ms)
{
    QEventLoop main;
    QTimer::singleShot(ms, &main, &QEventLoop::quit);
    main.exec();
}
} // namespace

// The held deletion wakes nothing while the page waits: the only timer that fires meanwhile is the one that
// ends the wait. It goes as soon as the main loop has run out of events.
TEST(DeletionGuard, APageUnloadedWhileItsMethodWaitsGoesOnceTheMainLoopHasItBack)
{
    const DeletionGuard guard;
    QPointer<WaitingPage> page = new WaitingPage;
    QLabel item;
    Navigation navigation(page);
    item.installEventFilter(&navigation);
    struct TimerCount : QObject {
        int fired = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            fired += event->type() == QEvent::Timer;
            return false;
        }
    } timers;

    QString read;
    bool aliveWhenItReturned = false;
    QEventLoop main; // the program's main loop; the page's wait runs one level above it
    QTimer::singleShot(0, &main, [&] {
        QCoreApplication::instance()->installEventFilter(&timers);
        read = page->clickAndWait(&item);
        QCoreApplication::instance()->removeEventFilter(&timers);
        aliveWhenItReturned = !page.isNull();
        main.quit();
    });
    main.exec();
    EXPECT_EQ(read, "Übersicht");
    EXPECT_TRUE(aliveWhenItReturned);
    EXPECT_EQ(timers.fired, 1);

    runMainLoopFor(20);
    EXPECT_TRUE(page.isNull());
}

