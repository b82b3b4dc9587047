// SPDX-License-Identifier: GPL-3.0-or-later
#include "line/reportqueue.h"

#include "line/keyerline.h"

ReportQueue::ReportQueue(KeyerLine &line, int spacingMs, QObject *parent)
    : QObject(parent)
    , m_line(line)
    , m_spacingMs(spacingMs)
{
    m_retry.setSingleShot(true);
    m_retry.setTimerType(Qt::PreciseTimer);
    connect(&m_retry, &QTimer::timeout, this, &ReportQueue::trySend);
}

void ReportQueue::send(const QByteArray &text)
{
    m_queue.enqueue(text);
    if (!m_retry.isActive())
        trySend();
}

void ReportQueue::trySend()
{
    if (m_queue.isEmpty())
        return;
    const qint64 since = m_sinceLast.isValid() ? m_sinceLast.elapsed() : m_spacingMs;
    if (since < m_spacingMs) {
        m_retry.start(int(m_spacingMs - since));
        return;
    }
    if (m_line.unread() > 0) {
        // The trainer has not read the last text yet. Look again soon, and
        // less often the longer it takes: a trainer that has gone leaves the
        // text unread for good.
        m_retry.start(m_retryMs);
        m_retryMs = qMin(m_retryMs * 2, 200);
        return;
    }
    m_retryMs = 1;
    const QByteArray text = m_queue.dequeue();
    m_line.write(text);
    m_sinceLast.start();
    if (!m_queue.isEmpty())
        m_retry.start(m_spacingMs);
}
