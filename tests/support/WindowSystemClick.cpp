#include "support/WindowSystemClick.h"

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
