#pragma once
// A click as the window system delivers it: queued for the event loop that runs next, and held back
// by a loop that shuts out user input. (A synthetic QMouseEvent sent directly reaches its widget at
// once, whatever loop runs.)
class QWidget;

void PostWindowSystemClick(QWidget* widget); // at the widget's centre
// The window manager's close (the close box) and a key pressed and released in the widget's window, both
// delivered at once, as spontaneous events.
void SendWindowSystemClose(QWidget* widget);
void SendWindowSystemKey(QWidget* widget, int key);
