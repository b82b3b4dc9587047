// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundthread.h"

#include "core/monotonicclock.h"
#include "soundoutput.h"

#include <pthread.h>
#include <unistd.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>
#include <vector>

namespace {

// The sound server holds this much of what is to come, so that a stall of
// the machine, or of the server (a private one, or any without real-time
// priority), does not break the tone up. Rewriting it on a change costs a
// few kilobytes; it adds no delay.
constexpr int leadMs = 250;
// A change (the key, a group to play) is written this far ahead of what is
// being heard, time enough to reach the server before it is played: the
// delay between a key press and its tone.
constexpr int marginMs = 3;
// Between changes the thread tops the lead up this often.
constexpr int topUpMs = 10;
// Without a server, it is looked for again this often.
constexpr int retryMs = 2000;
// After this long with nothing to play and the key untouched, the stream is
// closed: neither the server nor this thread wakes until it is wanted. (A
// keyer resting without a server still looks for one, as often as above.)
constexpr int restAfterMs = 10000;
// What has been written to the server, kept until it is settled (for the
// recording) and to tell what a rewrite changes: far more than the lead.
constexpr qint64 writtenKept = 65536;

} // namespace

SoundThread::SoundThread(SoundExchange &exchange, int sampleRate, double toneHz)
    : m_exchange(exchange)
    , m_rate(sampleRate)
    , m_sidetone(sampleRate, toneHz)
    , m_output(makeSoundOutput())
{
}

SoundThread::~SoundThread()
{
    if (m_thread.joinable()) {
        m_exchange.stop = true;
        m_output->wake();
        m_thread.join();
    }
}

void SoundThread::start()
{
    std::promise<void> opened;
    std::future<void> hasOpened = opened.get_future();
    m_thread = std::thread([this, &opened] {
        // A thread that sleeps nearly all the time and must wake at once
        // when the key moves: real-time priority where the system allows it
        // (the lowest, above every ordinary program), ordinary otherwise.
        const sched_param priority{sched_get_priority_min(SCHED_FIFO)};
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
        if (m_output->open(m_rate, 0))
            say(SoundState::Playing);
        else
            say(SoundState::Silent, m_output->errorString());
        opened.set_value();
        run();
    });
    hasOpened.wait();
}

void SoundThread::wake()
{
    m_output->wake();
}

// The news goes to the window's thread, which says it; this thread writes
// nothing to stderr. The detail is copied while the caller still holds it.
void SoundThread::say(SoundState state, const QString &detail)
{
    SoundNews news;
    news.state = state;
    const QByteArray text = detail.toUtf8().left(qsizetype(news.detail.size()) - 1);
    std::memcpy(news.detail.data(), text.constData(), size_t(text.size()));
    m_exchange.news.push(news); // a full ring means the window has not looked for a while: the newest is lost
    const quint64 one = 1;
    if (m_exchange.newsSignal >= 0)
        (void)!::write(m_exchange.newsSignal, &one, sizeof one);
}

void SoundThread::run()
{
    // Samples before `settled` are being heard or about to be: they no
    // longer change, so they go to the clock and the recording. Those after
    // it, up to the lead, wait at the server and are written again when the
    // key moves or a group comes. Without sound the clock paces it all.
    using Clock = std::chrono::steady_clock;
    const qint64 margin = qint64(marginMs) * m_rate / 1000;
    const qint64 lead = qint64(leadMs) * m_rate / 1000;
    bool playing = m_output->isPlaying();
    bool resting = false;
    qint64 settled = 0;
    // Without a stream the clock runs from here.
    Clock::time_point clockZero = Clock::now();
    const auto restartClock = [&] {
        clockZero = Clock::now() - std::chrono::microseconds(settled * 1000000 / m_rate);
    };
    Clock::time_point retryAt;
    const auto retryLater = [&] { retryAt = Clock::now() + std::chrono::milliseconds(retryMs); };
    const auto usUntilRetry = [&] {
        return std::chrono::duration_cast<std::chrono::microseconds>(retryAt - Clock::now()).count();
    };
    retryLater();
    // What the server holds from `settled` on ends at `writtenEnd`; a copy
    // of it is kept in `written`, a ring indexed by position.
    std::vector<qint16> written(static_cast<size_t>(writtenKept));
    qint64 writtenEnd = 0;
    std::vector<qint16> fresh;
    // Where the last sound rendered ends, and since when there has been
    // nothing to play.
    qint64 soundEnd = 0;
    Clock::time_point quietSince = Clock::now();

    // A stream opened anew, or after a rest, starts empty at `settled`.
    const auto reopen = [&](bool afterRest) {
        if (!(afterRest ? m_output->resume(m_rate, settled) : m_output->open(m_rate, settled)))
            return false;
        writtenEnd = settled;
        m_sidetone.rewindTo(settled);
        return true;
    };
    const auto lose = [&] {
        say(SoundState::Silent, m_output->errorString());
        m_output->close();
        playing = false;
        restartClock();
        retryLater();
    };

    while (!m_exchange.stop) {
        if (resting) {
            if (m_exchange.commands.empty() && m_exchange.adapterKey.empty() && !m_exchange.wanted) {
                if (!playing && Clock::now() >= retryAt) {
                    // Resting without a server: it is looked for all the same,
                    // said to be back when found, and left at rest.
                    retryLater();
                    playing = reopen(false);
                    if (playing) {
                        m_output->rest();
                        say(SoundState::Playing);
                        say(SoundState::Resting);
                    }
                }
                m_output->wait(playing ? -1 : int(std::max<qint64>(1000, usUntilRetry())));
                continue;
            }
            // Wanted again: the clock goes on from where it stood.
            resting = false;
            m_exchange.resting = false;
            playing = reopen(true);
            say(playing ? SoundState::Playing : SoundState::Silent, m_output->errorString());
            restartClock();
            retryLater();
            quietSince = Clock::now();
        }
        if (playing && !m_output->isPlaying())
            lose();
        if (!playing && Clock::now() >= retryAt) {
            if (reopen(false)) {
                playing = true;
                say(SoundState::Playing);
            } else {
                retryLater();
            }
        }
        if (!playing) {
            const qint64 since = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - clockZero).count();
            settled = std::max(settled, since * m_rate / 1000000);
        } else if (const qint64 heard = m_output->playingPosition(); heard >= 0) {
            settled = std::max(settled, heard + margin);
        }
        takeChanges(m_exchange, m_sidetone, settled, monotonicNs());

        const qint64 start = m_sidetone.position();
        const qint64 until = playing ? settled + lead : settled;
        fresh.resize(size_t(std::max<qint64>(0, until - start)));
        m_sidetone.render(fresh.data(), qint64(fresh.size()));
        if (const auto last = std::find_if(fresh.rbegin(), fresh.rend(), [](qint16 s) { return s != 0; });
            last != fresh.rend())
            soundEnd = std::max(soundEnd, start + qint64(fresh.rend() - last));
        // Only what changed goes to the server again. A rewrite of what it
        // has already mixed makes it rewind its sink, and where the sink's
        // rate is not the stream's that rewind can land a sample off: one
        // sample played twice, a click in a tone's fall. A group appended
        // after silence, or a pause after a group, changes nothing already
        // written but the silence before the group's first tone.
        qint64 changed = start;
        while (changed < writtenEnd && changed < until
               && written[size_t(changed % writtenKept)] == fresh[size_t(changed - start)])
            ++changed;
        for (qint64 p = changed; p < until; ++p)
            written[size_t(p % writtenKept)] = fresh[size_t(p - start)];
        if (playing && changed < until && !m_output->write(changed, fresh.data() + (changed - start), until - changed))
            lose();
        writtenEnd = std::max(writtenEnd, until);

        if (m_exchange.recorded) {
            for (qint64 p = m_exchange.position; p < settled; ++p) {
                if (!m_exchange.recorded->push(written[size_t(p % writtenKept)]))
                    m_exchange.recordingLost = true;
            }
        }
        m_exchange.position = settled;

        const bool quiet = !m_sidetone.keyDown() && !m_exchange.keepReady && m_sidetone.scheduleEnd() <= settled
                           && soundEnd <= settled;
        if (!quiet || m_exchange.wanted.exchange(false)) {
            quietSince = Clock::now();
        } else if (Clock::now() - quietSince > std::chrono::milliseconds(restAfterMs)) {
            resting = true;
            m_exchange.resting = true;
            m_output->rest();
            say(SoundState::Resting);
            continue;
        }
        int waitUs = topUpMs * 1000;
        if (!playing)
            waitUs = int(std::clamp<qint64>(usUntilRetry(), 0, waitUs));
        m_output->wait(std::max(waitUs, 1000));
    }
    m_output->close();
}
