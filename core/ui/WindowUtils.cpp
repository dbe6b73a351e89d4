#include "core/ui/WindowUtils.h"

#include "core/platform/TaskList.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSoundEffect>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

namespace {
// Keeps a wrapped label at least as high as its text at its present width.
class WrappedHeight : public QObject {
public:
    explicit WrappedHeight(QLabel* label) : QObject(label), m_label(label)
    {
        setObjectName(QStringLiteral("WrappedHeight"));
        label->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange) {
            const int height = m_label->heightForWidth(m_label->width());
            if (height > 0 && height != m_label->minimumHeight()) m_label->setMinimumHeight(height);
        }
        return false;
    }

private:
    QLabel* m_label;
};

QList<QPointer<QWidget>>& forms()
{
    static QList<QPointer<QWidget>> list;
    return list;
}
} // namespace

void RegisterForm(QWidget* window)
{
    forms().removeAll(nullptr);
    if (!forms().contains(window)) forms() << window;
}

bool IsFormLoaded(const QString& name)
{
    for (const QPointer<QWidget>& w : forms())
        if (w && w->objectName() == name) return true;
    return false;
}

void RemoveSystemMenuItems(QWidget* window) { DisableMaximizeBox(window); }

void DisableMaximizeBox(QWidget* window)
{
    if (!window) return;
    window->setWindowFlags((window->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) &
                           ~Qt::WindowMaximizeButtonHint);
}

void SetTaskListHidden(QWidget* window, bool hidden)
{
    QWindow* handle = window ? window->windowHandle() : nullptr;
    if (handle && handle->handle()) TheTaskList().setHidden(handle, hidden);
}

void SetFlatBorder(QWidget* window, bool staticEdge)
{
    if (auto* frame = qobject_cast<QFrame*>(window)) {
        frame->setFrameShape(staticEdge ? QFrame::StyledPanel : QFrame::Panel);
        frame->setFrameShadow(staticEdge ? QFrame::Plain : QFrame::Sunken);
        frame->setLineWidth(1);
    } else if (window) {
        window->setStyleSheet(window->styleSheet() + QStringLiteral("border: 1px solid palette(mid);"));
    }
}

void PlaySoundFile(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    auto* effect = new QSoundEffect(qApp);
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error) {
            QApplication::beep();
            effect->deleteLater();
        } else if (effect->status() == QSoundEffect::Ready) {
            effect->play();
        }
    });
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying()) effect->deleteLater();
    });
    effect->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

QColor VbColor(int value) { return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff); }

void FillBackground(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

void SetLabelColor(QLabel* label, int value)
{
    // a disabled label keeps the style's grey: a greyed link shows that it takes no click
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, VbColor(value));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, VbColor(value));
    label->setPalette(palette);
}

void SetLinkLook(QLabel* label, bool link)
{
    QFont font = label->font();
    font.setUnderline(link);
    label->setFont(font);
    SetLabelColor(label, link ? 255 : 0);
    if (link) label->setCursor(Qt::UpArrowCursor);
    else label->unsetCursor();
}

bool HasLinkLook(const QLabel* label) { return label && label->font().underline(); }

void FillList(QComboBox* list, const QStringList& items)
{
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(-1);
}

void KeepListWidth(QComboBox* list, int characters)
{
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(qMax(1, characters));
}

void KeepListWidth(QComboBox* list, const QString& widest)
{
    // The list measures its room in capital X, and adds room for an icon that its items do not have. The
    // text of a closed list keeps a pixel from either side; an editable list's text box has margins of its own.
    const QFontMetrics fm = list->fontMetrics();
    const int x = fm.horizontalAdvance(QLatin1Char('X'));
    const int margins = list->isEditable() ? TextBoxWidth(list->lineEdit(), QString()) : 2;
    const int need = fm.horizontalAdvance(widest) + margins - (list->iconSize().width() + 4);
    KeepListWidth(list, (need + x - 1) / x);
}

int TextBoxWidth(const QLineEdit* box, const QString& widest)
{
    // the box's own margin of 2 pixels either side, and the cursor
    const QMargins text = box->textMargins();
    const int inside = box->fontMetrics().horizontalAdvance(widest) + 2 * 2 + 1 + text.left() + text.right();
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.state |= QStyle::State_Sunken;
    const QSize size(inside + box->contentsMargins().left() + box->contentsMargins().right(), box->sizeHint().height());
    return box->style()->sizeFromContents(QStyle::CT_LineEdit, &option, size, box).width();
}

void FillWithAlle(QComboBox* list, const QStringList& names)
{
    FillList(list, QStringList{QStringLiteral("[Alle]")} + names);
    const QSignalBlocker block(list);
    list->setCurrentIndex(0);
}

void KeepRoomForUmlauts(QLabel* label) { label->setContentsMargins(0, 2, 0, 0); }

QLabel* PageTitle(const QString& text, QWidget* parent)
{
    auto* title = new QLabel(text, parent);
    title->setObjectName(QStringLiteral("lblTitel"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    return title;
}

void SetCaption(QLabel* label, const QString& text)
{
    if (label->text() == text) return;
    label->setText(text); // repaints the contents only
    label->update();
}

void WrapLabel(QLabel* label)
{
    label->setWordWrap(true);
    KeepRoomForUmlauts(label);
    if (!label->findChild<QObject*>(QStringLiteral("WrappedHeight"), Qt::FindDirectChildrenOnly))
        new WrappedHeight(label);
}

QWidget* DialogHeader(QWidget* parent, const QString& title, const QString& text, QLabel** titleLabel,
                      QLabel** textLabel)
{
    auto* header = new QWidget(parent);
    header->setAutoFillBackground(true);
    QPalette pal = header->palette();
    pal.setColor(QPalette::Window, Qt::white);
    header->setPalette(pal);
    auto* layout = new QVBoxLayout(header);
    auto* heading = new QLabel(title, header);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* help = new QLabel(text, header);
    WrapLabel(help);
    layout->addWidget(heading);
    layout->addWidget(help);
    if (titleLabel) *titleLabel = heading;
    if (textLabel) *textLabel = help;
    return header;
}
