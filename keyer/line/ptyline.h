// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "line/keyerline.h"

class QSocketNotifier;

// The keyer's end of the line: the master of a pseudo-terminal pair whose
// slave the trainer opens as its serial port.
//
// The slave stays open for the keyer's whole life (see openPseudoTerminal),
// so the master never sees the trainer go; the line watches the device's
// opens and closes instead (inotify), so the keyer can tell when the trainer
// has closed its port and wait for the next one.
class PtyLine : public KeyerLine
{
    Q_OBJECT

public:
    explicit PtyLine(QObject *parent = nullptr);
    ~PtyLine() override;

    bool open();
    QString errorString() const { return m_error; }
    QString devicePath() const override { return m_devicePath; }

    void write(const QByteArray &bytes) override;

    // A write reaches the slave a moment after it is made, so right after a
    // write this can still say 0.
    int unread() const override;

    void dropUnread() override;

    // Whether some other program has the device open.
    bool farEndOpen() const override { return m_farEndOpens > 0; }

private:
    void readMaster();
    void readOpensAndCloses();

    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
    bool m_failed = false;
    int m_watch = -1; // inotify descriptor, -1 when the device is not watched
    QSocketNotifier *m_watchNotifier = nullptr;
    int m_farEndOpens = 0;
};
