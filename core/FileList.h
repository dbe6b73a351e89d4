#pragma once
// Windows matched file names without regard to case and listed them sorted; these two helpers do the same.
#include <QString>
#include <QStringList>

// Names (not paths) of the files in `folder` matching the wildcard `pattern` ("*.con", "Anbieter - *.tel"),
// compared case-insensitively, sorted case-insensitively. A missing folder gives an empty list.
QStringList ListFolder(const QString& folder, const QString& pattern = QStringLiteral("*"));

// The name under which `name` exists in `folder`, compared without regard to case; empty when none.
QString FindFileNoCase(const QString& folder, const QString& name);
