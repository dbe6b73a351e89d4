#pragma once
// The settings pages save a text box when it loses the focus. A page closed by the navigation while one
// of its boxes still has the focus saves that box first (FlushLostFocus from the main window's unload).
#include <functional>

class QWidget;

// Runs `saver` whenever `control` (or a child of it, such as a combo box's edit) loses the focus.
void OnLostFocus(QWidget* control, std::function<void()> saver);
// Runs the saver of the control inside `page` that has the focus, once; its coming focus-out then
// runs nothing more.
void FlushLostFocus(QWidget* page);

// A save refused because a value holds a character outside the code page.
inline constexpr const char* UNSTORABLE_INPUT_MESSAGE =
    "Die Eingabe enthält Zeichen, die nicht gespeichert werden können. Die bisherige Angabe bleibt gespeichert.";
