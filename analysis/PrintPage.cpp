#include "analysis/PrintPage.h"

// Stand-in until the page is drawn: a title box, so that the window and its runs can be tried.
bool DrawPrintPage(DrawSurface& surface, const PrintPageOptions& options, const ConnectionListView& list,
                   PrintPager* pager)
{
    Q_UNUSED(options);
    Q_UNUSED(list);
    if (!pager) surface.Clear();
    surface.SetColor(Qt::black);
    surface.DrawBox(15, 15, 195, 23.5);
    surface.SetColor(QColor(120, 200, 0));
    surface.FillBox(20, 40, 22, 80);
    return true;
}
