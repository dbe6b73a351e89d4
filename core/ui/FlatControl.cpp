#include "core/ui/FlatControl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

namespace {

// Windows rectangles: right and bottom lie outside. Top-left colour down the left and along the top,
// bottom-right colour down the right and along the bottom, as the system's own 3-D frames.
void Draw3DFrame(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    const int l = r.left(), t = r.top(), rt = r.left() + r.width(), b = r.top() + r.height();
    if (rt <= l || b <= t) return;
    p.fillRect(QRect(l, t + 1, 1, b - t - 1), topLeft);
    p.fillRect(QRect(l, t, rt - 1 - l, 1), topLeft);
    if (l == rt) return;
    p.fillRect(QRect(rt - 1, t, 1, b - 1 - t), bottomRight);
    p.fillRect(QRect(l + 1, b - 1, rt - 1 - l, 1), bottomRight);
}

QRect Shrunk(const QRect& r, int n) { return r.adjusted(n, n, -n, -n); }

} // namespace

cFlatControl::cFlatControl(QObject* parent) : QObject(parent) {}

cFlatControl::~cFlatControl() { detach(); }

void cFlatControl::Attach(QWidget* control)
{
    detach();
    if (!control) return;
    m_control = control;
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        m_combo = true;
        m_edit = combo->lineEdit();
        // The list's window opens and closes the pressed state; it is created here if not yet there.
        m_popup = combo->view()->window();
        if (m_popup == control) m_popup = nullptr;
    }
    for (QWidget* w : {m_control.data(), m_edit.data(), m_popup.data()})
        if (w) w->installEventFilter(this);
    refresh();
}

void cFlatControl::detach()
{
    for (QWidget* w : {m_control.data(), m_edit.data(), m_popup.data()})
        if (w) w->removeEventFilter(this);
    if (m_control) m_control->update();
    m_control = nullptr;
    m_edit = nullptr;
    m_popup = nullptr;
    m_combo = false;
    m_mouseOver = m_focus = m_dropped = false;
    m_state = Flat;
}

bool cFlatControl::DroppedDown() const { return m_control && m_combo && m_dropped; }

int cFlatControl::state() const { return m_state; }

QWidget* cFlatControl::control() const { return m_control; }

bool cFlatControl::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_control) return false;
    const bool onControl = watched == m_control;
    const bool onEdit = m_edit && watched == m_edit;
    if (m_popup && watched == m_popup) {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
            m_dropped = event->type() == QEvent::Show;
            // Closing the list by a click elsewhere sends no leave of its own.
            if (!m_dropped) m_mouseOver = m_control->underMouse();
            refresh();
        }
        return false;
    }
    if (!onControl && !onEdit) return false;
    switch (event->type()) {
    case QEvent::Paint:
        if (!onControl) return false;
        // The frame goes over what the control has painted itself.
        static_cast<QObject*>(m_control.data())->event(event);
        paintFrame();
        return true;
    case QEvent::Enter:
    case QEvent::HoverEnter:
    case QEvent::MouseMove:
    case QEvent::HoverMove:
        if (!m_mouseOver) {
            m_mouseOver = true;
            refresh();
        }
        break;
    case QEvent::Leave:
    case QEvent::HoverLeave:
        // Moving into the edit part leaves the edit part's parent under the mouse.
        if (onControl && m_mouseOver) {
            m_mouseOver = false;
            refresh();
        }
        break;
    case QEvent::FocusIn:
        m_focus = true;
        refresh();
        break;
    case QEvent::FocusOut:
        m_focus = false;
        refresh();
        break;
    case QEvent::EnabledChange:
        refresh();
        break;
    default: break;
    }
    return false;
}

void cFlatControl::refresh()
{
    int s = Flat;
    if (m_control && m_control->isEnabled()) {
        if (DroppedDown())
            s = Pressed;
        else if (m_focus || m_mouseOver)
            s = Hot;
    }
    m_state = s;
    if (m_control) m_control->update();
}

void cFlatControl::paintFrame()
{
    QWidget* w = m_control;
    const QPalette& pal = w->palette();
    const QColor face = pal.color(QPalette::Button);
    const QColor light = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);
    const bool enabled = w->isEnabled();
    const bool hot = m_state != Flat;

    QPainter p(w);
    QRect r = w->rect();
    Draw3DFrame(p, r, hot ? shadow : face, hot ? light : face);
    r = Shrunk(r, 1);
    Draw3DFrame(p, r, enabled ? face : light, enabled ? face : light);
    if (!m_combo) return;
    r = Shrunk(r, 1);

    // The drop-down button: its own edge flattened, then raised (hot) or pressed (list open).
    auto* combo = static_cast<QComboBox*>(w);
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.subControls = QStyle::SC_All;
    const QRect arrow = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, combo);
    const int width = qBound(0, arrow.width(), r.width());
    QRect button = r;
    button.setLeft(r.left() + r.width() - width);
    Draw3DFrame(p, button, face, face);
    Draw3DFrame(p, Shrunk(button, 1), face, face);
    if (!enabled) return;
    switch (m_state) {
    case Flat: {
        Draw3DFrame(p, button.adjusted(0, -1, 0, 1), light, light);
        p.fillRect(QRect(button.left() - 1, r.top(), 1, r.height()), pal.color(QPalette::Base));
        break;
    }
    case Hot: Draw3DFrame(p, button.adjusted(0, -1, 1, 1), light, shadow); break;
    case Pressed: Draw3DFrame(p, button.adjusted(-1, -2, 0, 0).translated(1, 1), shadow, light); break;
    default: break;
    }
}
