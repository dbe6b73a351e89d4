#pragma once
// Helpers of the window tests.
#include <QString>
#include <QStringList>

class QLineEdit;
class QObject;

// The object names of the controls that the window's flat-look decorators draw, in the order attached.
QStringList FlatDecorated(const QObject* window);

// Replaces the text of a box as the person types it: the box counts as changed by the person, not by the
// program (which setText stands for).
void TypeInto(QLineEdit* box, const QString& text);
