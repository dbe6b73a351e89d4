#include "core/ui/OpenFileDialog.h"

#include "core/Globals.h"
#include "core/VB.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

OpenFileResult ShowOpenFileDialog(QWidget* owner, bool centreOnOwner)
{
    OpenFileRequest request;
    request.owner = owner;
    request.centreOnOwner = centreOnOwner;
    request.title = G_OFN.title;
    request.initialFolder = G_OFN.initialDir;
    request.initialFile = G_OFN.file;
    for (int i = 0; i + 1 < G_OFN.filter.size(); i += 2)
        request.filters.append({G_OFN.filter[i], G_OFN.filter[i + 1]});
    request.filterIndex = G_OFN.filterIndex;
    const OpenFileResult result = SplitOpenFileAnswer(OpenFiles(request));
    if (!result.cancelled) G_OFN.file = result.count == 1 ? result.folder + result.files.first() : result.folder;
    return result;
}

OpenFileResult SplitOpenFileAnswer(const QStringList& paths)
{
    OpenFileResult r;
    if (paths.isEmpty() || paths.size() > MaxOpenFiles) return r;
    r.folder = QFileInfo(paths.first()).path();
    for (const QString& p : paths)
        r.files << QFileInfo(p).fileName();
    r.count = r.files.size();
    if (r.count == 1 && !r.folder.endsWith('/')) r.folder += '/';
    r.cancelled = false;
    return r;
}

QPoint CentredPosition(const QRect& outer, const QSize& inner)
{
    return QPoint(int(CLng(outer.x() + outer.width() / 2.0 - inner.width() / 2.0)),
                  int(CLng(outer.y() + outer.height() / 2.0 - inner.height() / 2.0)));
}

namespace {

// Centres the dialog as it first shows, and again on its first activation, when the window manager's
// frame is known; then it lets go, so the user may move it.
class Centring : public QObject {
public:
    Centring(QWidget* owner, bool onOwner) : m_owner(owner), m_onOwner(onOwner) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show && event->type() != QEvent::WindowActivate) return false;
        auto* dialog = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowActivate) dialog->removeEventFilter(this);
        QRect outer;
        if (m_onOwner && m_owner) {
            outer = m_owner->window()->frameGeometry();
        } else {
            QScreen* screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
            if (screen) outer = screen->geometry();
        }
        if (outer.isValid()) dialog->move(CentredPosition(outer, dialog->frameGeometry().size()));
        return false;
    }

private:
    QPointer<QWidget> m_owner;
    bool m_onOwner;
};

QString NameFilter(const FileFilter& f)
{
    QString patterns = f.pattern;
    patterns.replace(';', ' ');
    return f.description + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
}

// German labels and the type list of both dialogs; gives the type list's entries.
QStringList SetUpFileDialog(QFileDialog& dialog, const QList<FileFilter>& types, const QString& lookIn,
                            const QString& accept)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The type list shows the descriptions only, as the original's.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setLabelText(QFileDialog::LookIn, lookIn);
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    QStringList filters;
    for (const FileFilter& f : types)
        filters << NameFilter(f);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    return filters;
}

} // namespace

QStringList RunOpenFileDialog(const OpenFileRequest& r)
{
    QFileDialog dialog(r.owner, r.title.isEmpty() ? QStringLiteral("Öffnen") : r.title);
    dialog.setOption(QFileDialog::DontResolveSymlinks);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters =
        SetUpFileDialog(dialog, r.filters, QStringLiteral("Suchen in:"), QStringLiteral("Ö&ffnen"));
    if (r.filterIndex > 0 && r.filterIndex < filters.size()) dialog.selectNameFilter(filters[r.filterIndex]);
    if (!r.initialFolder.isEmpty()) dialog.setDirectory(r.initialFolder);
    if (!r.initialFile.isEmpty()) {
        if (QFileInfo(r.initialFile).isDir())
            dialog.setDirectory(r.initialFile);
        else
            dialog.selectFile(r.initialFile);
    }
    Centring centring(r.owner, r.centreOnOwner);
    dialog.installEventFilter(&centring);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

QString RunSaveFileDialog(const SaveFileRequest& r)
{
    QFileDialog dialog(r.owner, r.title.isEmpty() ? QStringLiteral("Speichern unter") : r.title);
    // The caller asks before replacing a file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    SetUpFileDialog(dialog, r.filters, QStringLiteral("Speichern in:"), QStringLiteral("&Speichern"));
    if (!r.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(r.defaultSuffix);
    Centring centring(r.owner, false);
    dialog.installEventFilter(&centring);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}
