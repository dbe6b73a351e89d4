#pragma once
// The print page registers how it redraws its preview ("Vorschau"); windows that change what the preview
// shows call it while the page is open.
#include <functional>

void SetPrintPreviewRefresh(std::function<void()> refresh);
// Runs the registered redraw; nothing when none is registered.
void RefreshPrintPreview();
