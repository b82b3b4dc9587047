// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lineend.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// vestranoli-keyer run as a process, the way a user starts it. Killed, and
// waited for, when the test ends before stop().
class KeyerProcess
{
public:
    ~KeyerProcess();
    // Starts it and waits for the device on its first line.
    bool start(const QStringList &arguments);
    QString device() const { return m_device; }
    QByteArray errors(); // what it said on stderr so far

    bool waitForError(const QByteArray &text, int timeoutMs = 5000);
    bool stop(); // asks it to end, as a desktop does, and waits until it has
    // The fields of /proc/PID/stat after the program's name: [1] state, [5] tty_nr, [12] utime, [13] stime.
    QList<QByteArray> stat() const
    {
        return readFile(QStringLiteral("/proc/%1/stat").arg(process.processId())).split(')').last().split(' ');
    }

    QProcess process;
    bool withoutRealTime = false; // as an ordinary user without rtkit runs it

private:
    QString m_device;
    QByteArray m_errors;
};

// Opens the keyer's line as the trainer would, answers its "x" and waits
// until the keyer has taken the answer; what came before it is dropped.
bool answerKeyer(KeyerProcess &keyer, TrainerLine &trainer);
