#include "UninstallDialog.h"

#include "DelSharedDialog.h"
#include "DialogUnits.h"
#include "Uninstaller.h"
#include "znStrUtils.h"
#include "znUtils.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

namespace {

QString ScreenText(QString Text)
{
    return Text.replace(u'\r', u'\n');
}

void EtchedLine(QWidget* Parent, const QRect& Where)
{
    auto* line = new QFrame(Parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(Where);
}

} // namespace

// The worker's calls, queued to the dialog's thread in the order they were made.
class TUninstallDialog::TQueuedProgress : public TUninstallProgress {
public:
    explicit TQueuedProgress(TUninstallDialog* Dialog) : dialog(Dialog) {}

    void AddLine(const QString& Text) override
    {
        QMetaObject::invokeMethod(dialog, [d = dialog, Text] { d->AddLine(Text); }, Qt::QueuedConnection);
    }
    void AppendToLastLine(const QString& Text) override
    {
        QMetaObject::invokeMethod(dialog, [d = dialog, Text] { d->AppendToLastLine(Text); }, Qt::QueuedConnection);
    }
    void SetBarRange(int Minimum, int Maximum) override
    {
        QMetaObject::invokeMethod(
            dialog, [d = dialog, Minimum, Maximum] { d->SetBarRange(Minimum, Maximum); }, Qt::QueuedConnection);
    }
    void StepBar() override
    {
        QMetaObject::invokeMethod(dialog, [d = dialog] { d->StepBar(); }, Qt::QueuedConnection);
    }
    int AskRemoveSharedFile(const QString& File, const QStringList& Texts) override
    {
        int answer = 0;
        QMetaObject::invokeMethod(
            dialog, [d = dialog, File, Texts] { return d->AskRemoveSharedFile(File, Texts); },
            Qt::BlockingQueuedConnection, &answer);
        return answer;
    }
    void EnableClose() override
    {
        QMetaObject::invokeMethod(dialog, [d = dialog] { d->EnableClose(); }, Qt::QueuedConnection);
    }

private:
    TUninstallDialog* dialog;
};

void TUninstallDialog::TWorker::run()
{
    removal.UninstallThread();
}

TUninstallDialog::TUninstallDialog(TUninstallRun& Run, QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), run(Run), worker(Run),
      progress(std::make_unique<TQueuedProgress>(this))
{
    setWindowTitle(QStringLiteral("Vesko Uninstaller"));
    setFixedSize(480, 358);
    MainWnd = this;

    Header = new QLabel(this);
    Header->setObjectName(QStringLiteral("100"));
    Header->setGeometry(DluRect(0, 0, 321, 40));
    EtchedLine(this, DluRect(-2, 39, 323, 1));
    EtchedLine(this, DluRect(-2, 192, 323, 1));
    auto* icon = new QLabel(this);
    icon->setGeometry(DluRect(11, 55, 23, 23));
    icon->setPixmap(style()->standardIcon(QStyle::SP_TrashIcon).pixmap(32, 32));
    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("101"));
    List->setGeometry(DluRect(44, 48, 269, 116));
    Bar = new QProgressBar(this);
    Bar->setObjectName(QStringLiteral("102"));
    Bar->setGeometry(DluRect(44, 173, 269, 10));
    Bar->setTextVisible(false);
    Bar->setRange(0, 100);
    Bar->setValue(0);
    CloseButton = new QPushButton(this);
    CloseButton->setObjectName(QStringLiteral("1"));
    CloseButton->setGeometry(DluRect(263, 200, 50, 14));
    SetCaption(CloseButton, ScreenText(run.Str(23)));
    CloseButton->setEnabled(false);
    connect(CloseButton, &QPushButton::clicked, this, [this] { done(1); });

    // The texts and settings are read here, before the worker owns the log's cache.
    const TFontSpec font = ParseFontSpec(run.ReadLogString("Display", "DialogTitleFont", "Arial,14,0,B"));
    qint32 charSet = 1;
    if (!TryStrToInt(run.ReadLogString("Display", "Charset", "1"), charSet)) charSet = 1;
    Header->setPixmap(RenderHeader(Header->size(), run.ProgramFolder + QStringLiteral("Uninstall.bmp"), run.Str(1),
                                   font, charSet, Header->logicalDpiY()));
    run.Progress = progress.get();
}

TUninstallDialog::~TUninstallDialog()
{
    worker.wait();
    if (MainWnd == this) MainWnd = nullptr;
}

QPixmap TUninstallDialog::RenderHeader(QSize Size, const QString& BitmapFile, const QString& Title,
                                       const TFontSpec& Font, qint32 CharSet, int PixelsPerInch)
{
    QPixmap header(Size);
    header.fill(Qt::white);
    QPainter painter(&header);
    const QImage bitmap(BitmapFile);
    if (!bitmap.isNull()) painter.drawImage(QRect(0, 0, Size.width() - 1, Size.height() - 1), bitmap);
    const TLogFont logFont = MakeLogFont(Font.Name, Font.Size, Font.Style, CharSet, PixelsPerInch);
    QFont font(AnsiToString(logFont.FaceName));
    font.setPixelSize(qMax(1, qAbs(logFont.Height)));
    font.setWeight(logFont.Weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setItalic(logFont.Italic);
    font.setUnderline(logFont.Underline);
    font.setStrikeOut(logFont.StrikeOut);
    painter.setFont(font);
    const quint32 colour = quint32(Font.Color);
    painter.setPen(QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)));
    // a title longer than the header ends in an ellipsis, as far from the right edge as it starts from the left
    const QString shown = QFontMetrics(font).elidedText(Title, Qt::ElideRight, Size.width() - 2 * 12);
    painter.drawText(QRect(12, 10, Size.width(), Size.height()), Qt::AlignLeft | Qt::AlignTop, shown);
    return header;
}

void TUninstallDialog::WaitForWorker()
{
    worker.wait();
}

void TUninstallDialog::showEvent(QShowEvent* Event)
{
    QDialog::showEvent(Event);
    if (started) return;
    started = true;
    CenterWindow(this);
    worker.start();
}

void TUninstallDialog::closeEvent(QCloseEvent* Event)
{
    Event->ignore();
    if (CloseButton->isEnabled()) done(1);
}

void TUninstallDialog::reject()
{
    if (CloseButton->isEnabled()) done(1);
}

void TUninstallDialog::AddLine(const QString& Text)
{
    List->addItem(ScreenText(Text));
    List->setCurrentRow(List->count() - 1);
    List->scrollToBottom();
    List->repaint();
}

void TUninstallDialog::AppendToLastLine(const QString& Text)
{
    QListWidgetItem* last = List->count() > 0 ? List->takeItem(List->count() - 1) : nullptr;
    const QString old = last ? last->text() : QString();
    delete last;
    AddLine(old + u' ' + Text);
}

void TUninstallDialog::SetBarRange(int Minimum, int Maximum)
{
    Bar->setRange(Minimum, Maximum);
    Bar->setValue(Minimum);
}

void TUninstallDialog::StepBar()
{
    Bar->setValue(qMin(Bar->value() + 1, Bar->maximum()));
}

int TUninstallDialog::AskRemoveSharedFile(const QString& File, const QStringList& Texts)
{
    QStringList texts;
    for (const QString& text : Texts)
        texts << ScreenText(text);
    TDelSharedDialog prompt(File, texts, this);
    return prompt.exec();
}

void TUninstallDialog::EnableClose()
{
    CloseButton->setEnabled(true);
    CloseButton->setDefault(true);
}
