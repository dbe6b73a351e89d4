#include "core/ui/ElidedLabel.h"

#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QtMath>

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent, int lines) : QLabel(text, parent), m_lines(lines)
{
    setTextFormat(Qt::PlainText);
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(m_lines != 1);
    setSizePolicy(policy);
}

void ElidedLabel::setPreferredCharacters(int characters)
{
    m_preferredCharacters = characters;
    updateGeometry();
}

QRect ElidedLabel::textRoom() const
{
    QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    // as any label: one with a frame and no indent of its own keeps half an "x" from the frame
    int indent = this->indent();
    if (indent < 0 && frameWidth()) indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
    if (indent > 0) {
        const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
        if (align & Qt::AlignLeft) room.setLeft(room.left() + indent);
        if (align & Qt::AlignRight) room.setRight(room.right() - indent);
        if (align & Qt::AlignTop) room.setTop(room.top() + indent);
        if (align & Qt::AlignBottom) room.setBottom(room.bottom() - indent);
    }
    return room;
}

QSize ElidedLabel::frameExtra() const
{
    return size() - textRoom().size();
}

QStringList ElidedLabel::linesFor(int textWidth, bool* elided) const
{
    if (elided) *elided = false;
    const QString whole = text();
    if (whole.isEmpty() || textWidth <= 0) return {};
    const QFontMetrics fm = fontMetrics();
    // the layout below measures in fractions of a pixel: a text as wide as the room must not wrap
    if (QFontMetricsF(font()).horizontalAdvance(whole) <= textWidth && !whole.contains(QLatin1Char('\n')))
        return {whole};
    QStringList lines;
    QTextLayout layout(whole, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(textWidth);
        const bool last = m_lines > 0 && lines.size() == m_lines - 1;
        if (last && line.textStart() + line.textLength() < whole.size()) {
            lines << fm.elidedText(whole.mid(line.textStart()).simplified(), Qt::ElideRight, textWidth);
            if (elided) *elided = true;
            break;
        }
        lines << whole.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

QStringList ElidedLabel::shownLines(bool* elided) const
{
    return linesFor(textRoom().width(), elided);
}

bool ElidedLabel::hasHeightForWidth() const
{
    return m_lines != 1;
}

int ElidedLabel::heightForWidth(int width) const
{
    const int lines = qMax(1, int(linesFor(width - frameExtra().width()).size()));
    return lines * fontMetrics().lineSpacing() + frameExtra().height();
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return QSize(fm.horizontalAdvance(QStringLiteral("…")), fm.height()) + frameExtra();
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const int whole = qCeil(QFontMetricsF(font()).horizontalAdvance(text()));
    const int preferred = m_preferredCharacters > 0 ? fm.averageCharWidth() * m_preferredCharacters : whole;
    const int width = qMin(whole, preferred) + frameExtra().width();
    return {width, hasHeightForWidth() ? heightForWidth(width) : fm.height() + frameExtra().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    bool elided = false;
    const QStringList lines = shownLines(&elided);
    // the whole name stays readable where it does not fit
    const QString tip = elided ? text() : QString();
    if (toolTip() != tip) setToolTip(tip);
    const QFontMetrics fm = fontMetrics();
    const QRect room = textRoom();
    const int height = int(lines.size()) * fm.lineSpacing();
    int top = room.top();
    if (alignment() & Qt::AlignVCenter)
        top += (room.height() - height) / 2;
    else if (alignment() & Qt::AlignBottom)
        top += room.height() - height;
    const Qt::Alignment across = QStyle::visualAlignment(layoutDirection(), alignment()) & Qt::AlignHorizontal_Mask;
    for (const QString& line : lines) {
        style()->drawItemText(&painter, QRect(room.left(), top, room.width(), fm.lineSpacing()),
                              across | Qt::AlignVCenter, palette(), isEnabled(), line, foregroundRole());
        top += fm.lineSpacing();
    }
}
