// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/eventstamp.h"

namespace {

// Handled later than this, the event takes its own time.
constexpr qint64 heldUpMs = 10;
// Later than this, the event's time is on some other clock.
constexpr qint64 plausibleMs = 5000;

} // namespace

qint64 eventStamp(quint64 eventMs, qint64 seenNs)
{
    const qint64 seenMs = seenNs / 1'000'000;
    // The difference in the window system's 32 bits, read as signed: right
    // across the clock's wrap, every 49.7 days.
    const auto lateMs = qint64(qint32(quint32(quint64(seenMs) - eventMs)));
    if (lateMs <= heldUpMs || lateMs > plausibleMs)
        return seenNs;
    return (seenMs - lateMs) * 1'000'000 + 500'000; // the middle of the event's ms
}
