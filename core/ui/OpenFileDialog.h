#pragma once
// The open-file dialog, several files at once, centred on its owner or on the screen. The caller fills
// G_OFN (filter, folder, title) first; the dialog keeps its last answer there.
#include "core/Dialogs.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

struct OpenFileResult {
    qint32 count = 0;
    QStringList files; // names without folder, in the dialog's order
    QString folder;    // with its closing "/" for one file, without it for several
    bool cancelled = true;
};

// More files than this are refused as a whole.
constexpr int MaxOpenFiles = 200;

OpenFileResult ShowOpenFileDialog(QWidget* owner, bool centreOnOwner);

// The answer of the dialog (full paths) as the caller sees it; none or too many is a Cancel.
OpenFileResult SplitOpenFileAnswer(const QStringList& paths);

// Top-left corner that centres `inner` on `outer`, halves to the even neighbour.
QPoint CentredPosition(const QRect& outer, const QSize& inner);

// The real dialog behind the default dialog handler.
QStringList RunOpenFileDialog(const OpenFileRequest& request);

// The real save dialog: the type list as given, the suffix added to a bare name, no overwrite question.
QString RunSaveFileDialog(const SaveFileRequest& request);
