#pragma once
// Window utilities shared by every window.
#include <QColor>
#include <QString>

class QWidget;

// Windows register themselves by their object name so that IsFormLoaded can ask without creating one.
void RegisterForm(QWidget* window);
// True while a window of exactly that name (case-sensitive) is open.
bool IsFormLoaded(const QString& name);

// The main window keeps move, minimise and close only.
void RemoveSystemMenuItems(QWidget* window);
void DisableMaximizeBox(QWidget* window);
// The thin flat frame of the original's windows.
void SetFlatBorder(QWidget* window, bool staticEdge);

// A colour value of the original (red in the low byte, then green, then blue): 32768 is dark green.
QColor ColourValue(int value);

// Plays a sound file without blocking: a missing file plays nothing, one that cannot be played beeps.
void PlaySoundFile(const QString& path);
