#pragma once
// The program's icon, a meter dial on a blue disc: the window and the tray show it, and the build writes it
// into the desktop's icon files, so that the menu shows the same picture.
#include <QIcon>
#include <QImage>

// Drawn in sixteenths of its size, so that every size is sharp; needs no application object.
QImage DrawProgramIcon(int size);
// The sizes a window's title bar, task list and tray ask for.
QIcon ProgramIcon();
