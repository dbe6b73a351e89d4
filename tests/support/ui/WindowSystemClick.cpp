#include "support/ui/WindowSystemClick.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

void PostWindowSystemClick(QWidget* widget)
{
    QWindow* window = widget->window()->windowHandle();
    if (!window) return;
    const QPoint local = widget->mapTo(widget->window(), widget->rect().center());
    const QPoint global = widget->mapToGlobal(widget->rect().center());
    using Async = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Async>(window, local, global, Qt::LeftButton, Qt::LeftButton,
                                                    QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Async>(window, local, global, Qt::NoButton, Qt::LeftButton,
                                                    QEvent::MouseButtonRelease);
}

void SendWindowSystemClose(QWidget* widget)
{
    if (QWindow* window = widget->window()->windowHandle())
        QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(window);
}

void SendWindowSystemKey(QWidget* widget, int key)
{
    // the press may close the window
    const QPointer<QWindow> window = widget->window()->windowHandle();
    if (!window) return;
    using Sync = QWindowSystemInterface::SynchronousDelivery;
    QWindowSystemInterface::handleKeyEvent<Sync>(window, QEvent::KeyPress, key, Qt::NoModifier);
    if (window) QWindowSystemInterface::handleKeyEvent<Sync>(window, QEvent::KeyRelease, key, Qt::NoModifier);
}
