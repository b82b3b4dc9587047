// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/keyarea.h"

#include "core/monotonicclock.h"
#include "keys/eventstamp.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A screen reader takes the key for a button, the place to key: as the
// frame it is drawn in, Orca never took it for the focus.
class KeyAreaInterface : public QAccessibleWidget
{
public:
    explicit KeyAreaInterface(KeyArea *key)
        : QAccessibleWidget(key, QAccessible::Button)
    { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return static_cast<KeyArea *>(widget())->stateText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *keyAreaInterface(const QString &, QObject *object)
{
    auto *key = qobject_cast<KeyArea *>(object);
    return key ? new KeyAreaInterface(key) : nullptr;
}

} // namespace

KeyArea::KeyArea(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    static const bool described = (QAccessible::installFactory(keyAreaInterface), true);
    Q_UNUSED(described);
    setMinimumSize(240, 90);
    setToolTip(tr("Key here: hold the mouse button, or use the keys listed below"));
}

void KeyArea::setLit(bool lit)
{
    if (lit == m_lit)
        return;
    m_lit = lit;
    update();
}

bool KeyArea::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        m_activated.start();
    return QFrame::event(event);
}

void KeyArea::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_mouseDown)
        return;
    setFocus();
    // A window manager gives the window the keyboard first and passes the
    // click on a moment later; a press within a quarter of a second of that
    // is the click that did it.
    if (!isActiveWindow() || (m_activated.isValid() && m_activated.elapsed() < 250))
        return;
    m_mouseDown = true;
    emit pressed(eventStamp(event->timestamp(), monotonicNs()));
}

void KeyArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_mouseDown)
        return;
    m_mouseDown = false;
    emit released(eventStamp(event->timestamp(), monotonicNs()));
}

void KeyArea::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect().adjusted(6, 6, -6, -6);
    painter.fillRect(inner, m_lit ? QColor(255, 200, 0) : palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, hasFocus() ? tr("Key here") : tr("Click here to key"));
}
