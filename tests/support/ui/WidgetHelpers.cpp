#include "support/ui/WidgetHelpers.h"

#include "core/ui/FlatControl.h"

#include <QLineEdit>
#include <QWidget>

QStringList FlatDecorated(const QObject* window)
{
    QStringList names;
    for (const cFlatControl* f : window->findChildren<cFlatControl*>())
        names << (f->control() ? f->control()->objectName() : QString());
    return names;
}

void TypeInto(QLineEdit* box, const QString& text)
{
    box->selectAll();
    box->insert(text);
}
