#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The bytes of a file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString &path);

// The keyer's end of a pseudo-terminal pair, played by a test. The trainer
// opens slavePath() through its real serial port; the test reads what the
// trainer wrote and sends the keyer's texts on the master side.
class PtyKeyer
{
public:
    PtyKeyer();
    ~PtyKeyer();
    PtyKeyer(const PtyKeyer &) = delete;
    PtyKeyer &operator=(const PtyKeyer &) = delete;

    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // Tells the keyer how many reads the trainer has handled so far.
    void countReadsWith(std::function<int()> readsHandled) { m_readsHandled = std::move(readsHandled); }

    // Sends one text and waits until the trainer has handled a read of it and
    // nothing is left waiting, so that the next text reaches it as a read of
    // its own. A pseudo-terminal passes bytes on a moment after the write, so
    // an empty queue alone proves nothing.
    bool send(const QByteArray &text, int timeoutMs = 5000);

    // Waits until at least `count` bytes have come from the trainer.
    bool waitForBytes(qsizetype count, int timeoutMs = 5000);
    // Everything received so far; takeReceived() also forgets it.
    QByteArray received();
    QByteArray takeReceived();

    // The keyer goes away: the trainer's line hangs up.
    void unplug();

private:
    void readWaiting();

    int m_master = -1;
    int m_slave = -1; // held open so the line stays up between opens
    QString m_slavePath;
    QByteArray m_received;
    std::function<int()> m_readsHandled;
};
