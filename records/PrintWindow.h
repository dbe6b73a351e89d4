#pragma once
// The print window comes with the analysis, which registers here how the list's toolbar opens it;
// without it the toolbar's "Drucken" does nothing.
#include <functional>

class ConnectionListView;
class QWidget;

// Shows the print window modally over `owner`; it reads `list` live while it is open.
using PrintWindowFunction = std::function<void(QWidget* owner, const ConnectionListView& list)>;

void SetPrintWindow(PrintWindowFunction open); // an empty function unregisters
const PrintWindowFunction& PrintWindow();
