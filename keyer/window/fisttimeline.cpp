// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/fisttimeline.h"

#include <QPainter>

#include <algorithm>

FistTimeline::FistTimeline(QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(tr("Timeline of the last group"));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumHeight(sizeHint().height());
}

QSize FistTimeline::sizeHint() const
{
    return {240, 2 * fontMetrics().lineSpacing() + 10};
}

void FistTimeline::setGroup(const QList<KeyedMark> &keyed, const QList<KeyedMark> &ideal, const QString &inWords)
{
    m_keyed = keyed;
    m_ideal = ideal;
    setAccessibleDescription(inWords);
    update();
}

void FistTimeline::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int line = fontMetrics().lineSpacing();
    const QString keyedCaption = tr("keyed");
    const QString idealCaption = tr("right");
    const int left
        = std::max(fontMetrics().horizontalAdvance(keyedCaption), fontMetrics().horizontalAdvance(idealCaption)) + 8;
    const int keyedTop = 2;
    const int idealTop = keyedTop + line + 6;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, keyedTop, left, line), Qt::AlignLeft | Qt::AlignVCenter, keyedCaption);
    painter.drawText(QRect(0, idealTop, left, line), Qt::AlignLeft | Qt::AlignVCenter, idealCaption);
    if (m_keyed.isEmpty() || m_ideal.isEmpty())
        return;
    // One scale for both rows, from the group's first press.
    const double start = m_keyed.first().from;
    const double span = std::max(m_keyed.last().to, m_ideal.last().to) - start;
    const double perMs = (width() - left - 4) / std::max(span, 1.0);
    const auto draw = [&](const QList<KeyedMark> &marks, int top, const QColor &colour) {
        for (const KeyedMark &m : marks) {
            const QRectF bar(left + (m.from - start) * perMs, top, std::max(1.0, (m.to - m.from) * perMs), line);
            painter.fillRect(bar, colour);
        }
    };
    draw(m_keyed, keyedTop, QColor(0xc0, 0x60, 0x00));
    draw(m_ideal, idealTop, palette().color(QPalette::Highlight));
}
