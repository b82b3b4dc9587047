// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The line to the trainer as the keyer's dialogue uses it: the bytes the
// trainer sends, the texts the keyer writes back, and whether the trainer
// has the line open and has read what was written. PtyLine is the line of a
// running keyer; the keyer's tests give the dialogue a line of their own.
class KeyerLine : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QString devicePath() const = 0;
    virtual void write(const QByteArray &bytes) = 0;
    // Bytes written that the trainer has not read yet.
    virtual int unread() const = 0;
    // Drops what the trainer has not read: it will never read it now.
    virtual void dropUnread() = 0;
    // Whether the trainer has the line open.
    virtual bool farEndOpen() const = 0;

signals:
    void received(const QByteArray &bytes);
    void farEndOpened();
    void farEndClosed();
};
