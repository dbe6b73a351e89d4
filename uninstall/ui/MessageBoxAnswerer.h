#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

// Shows the uninstaller's message boxes as QMessageBox, placed in the middle of the work area.
int QMessageBoxAnswerer(QObject* Owner, const QString& Caption, const QString& Text, quint32 Flags);

// The box QMessageBoxAnswerer shows: caption, text (carriage returns as line breaks), icon and buttons
// of the flags.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* Owner, const QString& Caption, const QString& Text, quint32 Flags);
