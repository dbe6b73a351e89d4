#pragma once
// The settings pages save a text box when it loses the focus. A page closed by the navigation while one
// of its boxes still has the focus saves that box first (FlushLostFocus from the main window's unload).
#include "core/NumberRange.h"

#include <functional>

class QLineEdit;
class QWidget;

// Runs `saver` whenever `control` (or a child of it, such as a combo box's edit) loses the focus. A text
// box also remembers the text it had before the person began to change it: every text the program puts in.
void OnLostFocus(QWidget* control, std::function<void()> saver);
// Runs the saver of the control inside `page` that has the focus, once; its coming focus-out then
// runs nothing more. False when that box refused its new value: the action that flushed it stops.
bool FlushLostFocus(QWidget* page);

// Ends the edit of a left text box: it shows the checked text, or the refusal is shown (exclamation icon)
// and the box gets back the text it had before the edit. False when refused.
bool TakeCheckedInput(QLineEdit* box, const CheckedInput& input);

// A save refused because a value holds a character outside the code page.
inline constexpr const char* UNSTORABLE_INPUT_MESSAGE =
    "Die Eingabe enthält Zeichen, die nicht gespeichert werden können. Die bisherige Angabe bleibt gespeichert.";
