// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The stamp on the monotonic clock of a key or mouse event that the
// window's thread handles at `seenNs`, from the event's own time in ms.
//
// The X server stamps each event with CLOCK_MONOTONIC in ms, cut to 32
// bits (so does a Wayland compositor, in practice). Handled within a few
// ms, an event is stamped when it is handled, which is finer. But when the
// window's thread was held up (a busy machine, a long repaint), a press
// and its release are handled one after the other: stamped then, a dot
// would be a spike and lost. So an event handled late is stamped with its
// own time. A time that cannot be on that clock (a test's made-up event:
// 0, or a count) is not used.
qint64 eventStamp(quint64 eventMs, qint64 seenNs);
