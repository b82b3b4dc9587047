// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/soundexchange.h"

#include <memory>
#include <thread>

class SoundLoop;

// Plays in real time: a thread of its own keeps the sound server a little
// ahead of what is heard, and writes that lead again from just ahead of
// what is heard as soon as the key moves or a group comes, so a press is
// heard within milliseconds while a machine that stalls for a while does
// not break the tone up. Without a server the clock paces it, and the
// server is looked for again every few seconds. After a while with nothing
// to play it closes the stream and sleeps until it is wanted.
//
// Everything it shares with the main thread is in the exchange; the rest
// is the sound thread's own (SoundLoop, in soundthread.cpp), but for the
// output's wake().
class SoundThread
{
public:
    SoundThread(SoundExchange &exchange, int sampleRate, double toneHz);
    ~SoundThread();
    SoundThread(const SoundThread &) = delete;
    SoundThread &operator=(const SoundThread &) = delete;

    // Starts the thread and returns once it has tried the sound server.
    void start();
    // Something in the exchange changed. From the main thread, and from a
    // key adapter's reader thread after it has pushed the adapter's key.
    void wake();

private:
    SoundExchange &m_exchange;
    std::unique_ptr<SoundLoop> m_loop; // the sound thread's, but for wake()
    std::thread m_thread;
};
