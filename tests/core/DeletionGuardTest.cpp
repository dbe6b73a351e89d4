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

TEST(DeletionGuard, APageUnloadedWhileItsMethodWaitsGoesOnceTheMainLoopHasItBack)
{
    const DeletionGuard guard;
    QPointer<WaitingPage> page = new WaitingPage;
    QLabel item;
    Navigation navigation(page);
    item.installEventFilter(&navigation);

    QString read;
    bool aliveWhenItReturned = false;
    QEventLoop main; // the program's main loop; the page's wait runs one level above it
    QTimer::singleShot(0, &main, [&] {
        read = page->clickAndWait(&item);
        aliveWhenItReturned = !page.isNull();
        main.quit();
    });
    main.exec();
    EXPECT_EQ(read, "Übersicht");
    EXPECT_TRUE(aliveWhenItReturned);

    runMainLoopFor(200);
    EXPECT_TRUE(page.isNull());
}
