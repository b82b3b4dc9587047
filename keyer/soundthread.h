// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/sidetone.h"
#include "soundexchange.h"

#include <memory>
#include <thread>

class SoundOutput;

// Plays in real time: a thread of its own keeps the sound server a little
// ahead of what is heard, and writes that lead again from just ahead of
// what is heard as soon as the key moves or a group comes, so a press is
// heard within milliseconds while a machine that stalls for a while does
// not break the tone up. Without a server the clock paces it, and the
// server is looked for again every few seconds. After a while with nothing
// to play it closes the stream and sleeps until it is wanted.
//
// Everything it shares with the window's thread is in the exchange; the
// sidetone and the output are its own (but for the output's wake()).
class SoundThread
{
public:
    SoundThread(SoundExchange &exchange, int sampleRate, double toneHz);
    ~SoundThread();
    SoundThread(const SoundThread &) = delete;
    SoundThread &operator=(const SoundThread &) = delete;

    // Starts the thread and returns once it has tried the sound server.
    void start();
    void wake(); // from the window's thread: something in the exchange changed

private:
    void run();
    void say(SoundState state, const QString &detail = QString());

    SoundExchange &m_exchange;
    const int m_rate;
    Sidetone m_sidetone;
    std::unique_ptr<SoundOutput> m_output;
    std::thread m_thread;
};
