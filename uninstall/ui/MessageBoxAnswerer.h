#pragma once

#include <QObject>
#include <QString>

// Shows the uninstaller's message boxes as QMessageBox, placed in the middle of the work area.
int QMessageBoxAnswerer(QObject* Owner, const QString& Caption, const QString& Text, quint32 Flags);
