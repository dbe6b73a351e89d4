#pragma once
// The one-page connection report of the print window: the same calls draw the preview picture and the
// printer's pages, in millimetres.
#include "analysis/DrawSurface.h"

class ConnectionListView;

// The print window's choices that shape the page.
struct PrintPageOptions {
    bool monthDiagrams = true;    // "Monatsdiagramme drucken"
    int diagramPair = 1;          // 1 "Dauer && Transfer", 2 "Kosten && Transfer", 3 "Kosten && Dauer"
    int month = 0;                // 1-12 from the month list; 0 when nothing is chosen
    bool colour = true;           // "Bunt"
    bool listForm = true;         // "Listenform"; otherwise one row per tariff
    bool transferColumns = true;  // "Transfer- und DFÜ-Daten ausdrucken"
    bool markDifferences = false; // "Farbliche differenzieren"
};

// The printer run's page breaks; the preview has none.
class PrintPager {
public:
    virtual ~PrintPager() = default;
    virtual double PrintableHeight() = 0; // millimetres, read afresh at every test
    virtual bool NewPage() = 0;           // false: the printer refused the page
};

// The preview's page: 210 x 295 mm at 96 dpi, 794 x 1115 white pixels.
QImage NewPrintPreviewPicture();

// Draws the page from the title band to the table's bottom line on a surface already set to millimetres.
// Without a pager it is the preview's page (cleared first, one frame per table); with one the printer run's
// (frame pieces per row, page breaks). False only when a new page could not be started.
bool DrawPrintPage(DrawSurface& surface, const PrintPageOptions& options, const ConnectionListView& list,
                   PrintPager* pager = nullptr);
