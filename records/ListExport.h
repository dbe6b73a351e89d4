#pragma once
// The connection list as the page shows it, written as an HTML table or as a text table with fixed
// columns; both only read the page's view.
#include <QString>
#include <QStringList>

class ConnectionListView;

// The HTML document. chartFiles: the names of the two month charts beside it, or none.
QStringList HtmlExportLines(const ConnectionListView& list, const QString& title, const QStringList& chartFiles = {});
// Header, separator and one line per row, columns joined by " | "; no totals.
QStringList TextExportLines(const ConnectionListView& list);

// Paths as the export's file choice takes them ("/" separates folders).
bool FileExists(const QString& path); // a regular file of that name in its folder, compared lower-cased
QString GetFileName(const QString& path);
QString GetFilePath(const QString& path);
// The charts are named like the HTML file without its ".htm", followed by "1.bmp" and "2.bmp".
QString ChartBase(const QString& htmlPath);
