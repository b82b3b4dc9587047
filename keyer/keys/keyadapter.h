// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/keylines.h"
#include "keys/modemlinesource.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class KeyInput;

// A straight key or paddles on a serial adapter's modem lines
// (--key-device), keying the same key input as the space bar and the Ctrl
// paddles. Readings come from the source's thread stamped with the monotonic
// clock and are confirmed against bounce there (KeyLines); the edges are
// handed to the key input, on the main thread, with their stamps. Given
// a direct way to the sidetone, the source's thread keys it with a straight
// key's edges itself, so that a busy main thread neither delays the tone
// nor changes its length.
//
// A fault is said once and the keyer goes on with the keyboard: an adapter
// missing or taken away is looked for once a second under the same name and
// taken back when it is there; one that may not be opened (the dialout
// group) is tried again as well, in case its rights change; a name that is
// no serial port (a folder, a file), or that has no device behind it at the
// first look (/dev/tty with no terminal), is not.
class KeyAdapter : public QObject
{
    Q_OBJECT

public:
    using DirectKey = std::function<void(bool down, qint64 seenNs)>;
    KeyAdapter(const QString &device, const KeyLineMap &map, KeyInput &keys, std::unique_ptr<ModemLineSource> source,
               DirectKey sidetone = {}, QObject *parent = nullptr);
    ~KeyAdapter() override;

    // Opens the adapter, or says why not.
    void start();

    QString device() const { return m_device; }
    const KeyLineMap &map() const { return m_map; }
    bool isOpen() const { return m_open; }
    // The lines (ModemLine bits) as last read.
    unsigned lines() const { return m_lastLines; }

    // Where problems are said: stderr unless told otherwise.
    void reportProblemsWith(std::function<void(const QString &)> report) { m_report = std::move(report); }

signals:
    // Opened, lost, or a line changed.
    void changed();

private:
    void tryOpen();
    void reading(unsigned lines, const QList<KeyLineEdge> &edges);
    void lost(int error, const QList<KeyLineEdge> &edges);
    void key(const QList<KeyLineEdge> &edges);
    QString whyNotOpened(int error) const;

    QString m_device;
    KeyLineMap m_map;
    KeyInput &m_keys;
    std::unique_ptr<ModemLineSource> m_source;
    DirectKey m_sidetone;
    std::function<void(const QString &)> m_report;
    QTimer m_retry; // once a second while the adapter is away
    bool m_open = false;
    int m_said = 0; // the errno of the trouble said, until the adapter is open again
    unsigned m_lastLines = 0;
};
