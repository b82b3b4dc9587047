// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"
#include "core/morseplan.h"

#include <functional>
#include <vector>

// What the keyer's dialogue plays and times by, in samples of the keyer's
// clock: stretches of the sidetone one after another, actions once the
// samples before a position have been played, and the trainee's key.
// Player is the keyer's own; the keyer's tests give the dialogue one that
// they advance themselves.
class Schedule
{
public:
    virtual ~Schedule() = default;

    virtual int sampleRate() const = 0;
    // Schedules segments after what is scheduled and returns where they start.
    virtual qint64 append(const std::vector<ToneSegment> &segments) = 0;
    virtual qint64 scheduleEnd() const = 0;
    // Drops what is scheduled.
    virtual void clearSchedule() = 0;
    virtual void at(qint64 position, std::function<void()> action) = 0;
    // The trainee's key, seen at `seenNs` on the monotonic clock: sounds while down.
    virtual void setKey(bool down, qint64 seenNs) = 0;
    // A run is about to need the sound: a sound output at rest gets ready.
    virtual void prepare() = 0;
    // What the segments heard through the band are played under, from now on.
    virtual void setBand(const BandConditions &band) { Q_UNUSED(band); }
};
