// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

// The sound server as a stream of 16-bit mono samples at absolute sample
// positions of the keyer's clock. Samples are written ahead of what is
// heard and may be written again while they have not been played: the
// server takes the newest. Everything but wake() belongs to the sound
// thread; one object serves for the keyer's whole life, opened and closed
// as the server comes and goes and as the keyer rests.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;

    // Connects and opens a stream whose first sample is the keyer's
    // `position`. Fails at once where there is no server.
    virtual bool open(int sampleRate, qint64 position) = 0;
    virtual void close() = 0;
    // While nothing is played: costs nothing at the server nor here until
    // resume(), which goes on with the keyer's `position` as its next sample.
    // Unless an output knows better, that is closing and opening again.
    virtual void rest() { close(); }
    virtual bool resume(int sampleRate, qint64 position) { return open(sampleRate, position); }
    // Open, and neither the server nor the stream has failed since.
    virtual bool isPlaying() = 0;

    // The sample being heard now; -1 while the server has not said yet.
    virtual qint64 playingPosition() = 0;
    // Samples before the opening position are left out.
    virtual bool write(qint64 position, const qint16 *samples, qint64 count) = 0;

    // Waits until `timeoutUs` (-1: no limit) has passed, the server says
    // something or wake() is called, and handles what the server says.
    // Works closed too.
    virtual void wait(int timeoutUs) = 0;
    virtual void wake() = 0; // from any thread

    virtual QString errorString() const = 0;
};

// The output for the sound server this desktop has.
std::unique_ptr<SoundOutput> makeSoundOutput();
