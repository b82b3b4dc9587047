// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// The bytes of a file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString &path);
// Replaces a file's bytes; false when they could not all be written.
bool writeFile(const QString &path, const QByteArray &bytes);

// A test at one end of a pseudo-terminal: what comes from the other end is
// read without blocking whenever the test looks, and kept read by read.
class LineEnd
{
public:
    LineEnd() = default;
    ~LineEnd() { close(); }
    LineEnd(const LineEnd &) = delete;
    LineEnd &operator=(const LineEnd &) = delete;

    // Waits until what has come holds `text` `count` times, or `count` bytes.
    bool waitFor(const QByteArray &text, int count = 1, int timeoutMs = 5000);
    bool waitForBytes(qsizetype count, int timeoutMs = 5000);
    // Everything received so far; takeReceived() also forgets it.
    QByteArray received();
    QByteArray takeReceived();
    QList<QByteArray> reads() const { return m_reads; } // each read(2) that returned bytes
    void close();

protected:
    int m_fd = -1;

private:
    QByteArray m_received;
    QList<QByteArray> m_reads;
};

// The keyer's end, played for the trainer's tests: the trainer opens
// slavePath() through its real serial port.
class PtyKeyer : public LineEnd
{
public:
    PtyKeyer();
    ~PtyKeyer() { unplug(); }

    bool isOpen() const { return m_fd >= 0; }
    QString slavePath() const { return m_slavePath; }

    // Tells the keyer how many reads the trainer has handled so far.
    void countReadsWith(std::function<int()> readsHandled) { m_readsHandled = std::move(readsHandled); }

    // Sends one text and waits until the trainer has handled a read of it
    // and nothing is left waiting (bytes pass a moment after the write), so
    // that the next text reaches it as a read of its own.
    bool send(const QByteArray &text, int timeoutMs = 5000);

    // The keyer goes away: the trainer's line hangs up.
    void unplug();

private:
    int m_slave = -1; // held open so the line stays up between opens
    QString m_slavePath;
    std::function<int()> m_readsHandled;
};

// The trainer's end, played for the keyer's tests: the keyer's device
// opened raw, as the trainer's serial port opens it.
class TrainerLine : public LineEnd
{
public:
    bool open(const QString &device);
    void send(const QByteArray &bytes);
};
