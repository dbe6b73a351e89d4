#pragma once
// The heading of an exported or printed connection list, from the period chosen in the list.
#include <QString>

// "Verbindungen im März 2004" and the like, by today's date and, for "Definiert", Config/Period.cfg.
QString GetListTitle(const QString& periodText);
