// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QQueue>
#include <QTimer>

class KeyerLine;

// Sends the keyer's texts so that each reaches the trainer as a read of its
// own. The trainer takes whatever has arrived as one text, and two reports
// joined in one read ("RV") mean nothing to it; a pseudo-terminal joins
// writes that follow each other closely. So a text goes out only when the
// trainer has read everything before it, and some time after the last one.
class ReportQueue : public QObject
{
    Q_OBJECT

public:
    ReportQueue(KeyerLine &line, int spacingMs, QObject *parent = nullptr);

    void send(const QByteArray &text);
    bool isEmpty() const { return m_queue.isEmpty(); }

    // Texts still waiting, which are dropped.
    void clear() { m_queue.clear(); }

private:
    void trySend();

    KeyerLine &m_line;
    int m_spacingMs;
    QQueue<QByteArray> m_queue;
    QElapsedTimer m_sinceLast;
    QTimer m_retry;
    int m_retryMs = 1;
};
