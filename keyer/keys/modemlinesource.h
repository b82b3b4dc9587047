// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// Where a key adapter's modem lines come from: the kernel (ModemLines), or a
// test that plays line changes with chosen times.
class ModemLineSource
{
public:
    // The lines as ModemLine bits, read at `atNs` on the monotonic clock.
    struct Reading {
        unsigned lines = 0;
        qint64 atNs = 0;
    };
    // Called from the source's own thread, in the order things happened:
    // readings (and `polling`, once, where the driver cannot wait for a
    // change), then at most one `lost` (an errno) after which nothing comes
    // until the next open.
    struct Sink {
        std::function<void(Reading)> reading;
        std::function<void()> polling;
        std::function<void(int error)> lost;
    };

    virtual ~ModemLineSource() = default;

    // Opens the device and starts reading it; 0, or the errno that kept it
    // from that (ENOTTY: no serial port).
    virtual int open(const QString &device, const Sink &sink) = 0;
    // Stops reading and closes the device; nothing reaches the sink after.
    virtual void close() = 0;
};
