// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/soundthread.h"

#include "core/monotonicclock.h"
#include "core/sidetone.h"
#include "sound/soundoutput.h"

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>
#include <utility>
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

// The sound thread's own state and its turns. Samples before `m_settled`
// are being heard or about to be: they no longer change, so they go to the
// clock and the recording. Those after it, up to the lead, wait at the
// server and are written again when the key moves or a group comes. Without
// sound the clock paces it all.
class SoundLoop
{
public:
    SoundLoop(SoundExchange &exchange, int sampleRate, double toneHz)
        : m_exchange(exchange)
        , m_rate(sampleRate)
        , m_margin(qint64(marginMs) * sampleRate / 1000)
        , m_lead(qint64(leadMs) * sampleRate / 1000)
        , m_sidetone(sampleRate, toneHz)
        , m_output(makeSoundOutput())
        , m_written(static_cast<size_t>(writtenKept))
    {
        m_sidetone.setBandSeed(exchange.bandSeed);
    }

    // On the sound thread: the first look for the server, then the turns
    // until the exchange says stop.
    void openFirst();
    void run();
    void wake() { m_output->wake(); } // from any thread

private:
    using Clock = std::chrono::steady_clock;

    // A turn.
    bool isWanted() const;
    bool takeWanted();
    void restAWhile();
    void wakeFromRest();
    void keepTheServer();
    void settle();
    void renderAndWrite();
    void handOverSettled();
    bool restIfQuiet();
    void waitForNextTurn();
    // Its parts.
    bool reopen(bool afterRest);
    void lose();
    void restartClock();
    void retryLater();
    qint64 usUntilRetry() const;
    void say(SoundState state, const QString &detail = QString());

    SoundExchange &m_exchange;
    const int m_rate;
    const qint64 m_margin;
    const qint64 m_lead;
    Sidetone m_sidetone;
    std::unique_ptr<SoundOutput> m_output;
    bool m_playing = false;
    bool m_resting = false;
    quint32 m_wantedTaken = 0; // the exchange's `wanted` count handled last
    qint64 m_settled = 0;
    Clock::time_point m_clockZero; // without a stream the clock runs from here
    Clock::time_point m_retryAt;
    // What the server holds from `m_settled` on ends at `m_writtenEnd`; a
    // copy of it is kept in `m_written`, a ring indexed by position.
    std::vector<qint16> m_written;
    qint64 m_writtenEnd = 0;
    std::vector<qint16> m_fresh; // what this turn rendered
    // Where the last sound rendered ends, and since when there has been
    // nothing to play.
    qint64 m_soundEnd = 0;
    Clock::time_point m_quietSince;
};

void SoundLoop::openFirst()
{
    if (m_output->open(m_rate, 0))
        say(SoundState::Playing);
    else
        say(SoundState::Silent, m_output->errorString());
}

void SoundLoop::run()
{
    m_playing = m_output->isPlaying();
    m_clockZero = Clock::now();
    retryLater();
    m_quietSince = Clock::now();
    while (!m_exchange.stop) {
        if (m_resting) {
            if (!isWanted()) {
                restAWhile();
                continue;
            }
            wakeFromRest();
        }
        keepTheServer();
        settle();
        takeChanges(m_exchange, m_sidetone, m_settled, monotonicNs());
        renderAndWrite();
        handOverSettled();
        if (restIfQuiet())
            continue;
        waitForNextTurn();
    }
    m_output->close();
}

// Something to play, a key, or a count of `wanted` not handled yet.
bool SoundLoop::isWanted() const
{
    return !m_exchange.commands.empty() || !m_exchange.adapterKey.empty() || m_exchange.wanted != m_wantedTaken;
}

// At rest, until woken: resting without a server, it is looked for all the
// same, said to be back when found, and left at rest.
void SoundLoop::restAWhile()
{
    if (!m_playing && Clock::now() >= m_retryAt) {
        retryLater();
        m_playing = reopen(false);
        if (m_playing) {
            m_output->rest();
            say(SoundState::Playing);
            say(SoundState::Resting);
        }
    }
    m_output->wait(m_playing ? -1 : int(std::max<qint64>(1000, usUntilRetry())));
}

// Wanted again: the clock goes on from where it stood.
void SoundLoop::wakeFromRest()
{
    m_resting = false;
    m_exchange.resting = false;
    m_playing = reopen(true);
    say(m_playing ? SoundState::Playing : SoundState::Silent, m_output->errorString());
    restartClock();
    retryLater();
    m_quietSince = Clock::now();
}

// A server lost is said and looked for again; one found is said.
void SoundLoop::keepTheServer()
{
    if (m_playing && !m_output->isPlaying())
        lose();
    if (!m_playing && Clock::now() >= m_retryAt) {
        if (reopen(false)) {
            m_playing = true;
            say(SoundState::Playing);
        } else {
            retryLater();
        }
    }
}

// What is heard moves `m_settled` on: by the server's word, or by the clock.
void SoundLoop::settle()
{
    if (!m_playing) {
        const qint64 since = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_clockZero).count();
        m_settled = std::max(m_settled, since * m_rate / 1000000);
    } else if (const qint64 heard = m_output->playingPosition(); heard >= 0) {
        m_settled = std::max(m_settled, heard + m_margin);
    }
}

// Renders from where the sidetone stands up to the lead and writes what
// changed. Only what changed goes to the server again. A rewrite of what it
// has already mixed makes it rewind its sink, and where the sink's rate is
// not the stream's that rewind can land a sample off: one sample played
// twice, a click in a tone's fall. A group appended after silence, or a
// pause after a group, changes nothing already written but the silence
// before the group's first tone.
void SoundLoop::renderAndWrite()
{
    const qint64 start = m_sidetone.position();
    const qint64 until = m_playing ? m_settled + m_lead : m_settled;
    m_fresh.resize(size_t(std::max<qint64>(0, until - start)));
    m_sidetone.render(m_fresh.data(), qint64(m_fresh.size()));
    if (const auto last = std::find_if(m_fresh.rbegin(), m_fresh.rend(), [](qint16 s) { return s != 0; });
        last != m_fresh.rend())
        m_soundEnd = std::max(m_soundEnd, start + qint64(m_fresh.rend() - last));
    qint64 changed = start;
    while (changed < m_writtenEnd && changed < until
           && m_written[size_t(changed % writtenKept)] == m_fresh[size_t(changed - start)])
        ++changed;
    for (qint64 p = changed; p < until; ++p)
        m_written[size_t(p % writtenKept)] = m_fresh[size_t(p - start)];
    if (m_playing && changed < until && !m_output->write(changed, m_fresh.data() + (changed - start), until - changed))
        lose();
    m_writtenEnd = std::max(m_writtenEnd, until);
}

// What is settled goes to the recording and to the keyer's clock.
void SoundLoop::handOverSettled()
{
    if (m_exchange.recorded) {
        for (qint64 p = m_exchange.position; p < m_settled; ++p) {
            if (!m_exchange.recorded->push(m_written[size_t(p % writtenKept)]))
                m_exchange.recordingLost.fetch_add(1, std::memory_order_relaxed);
        }
    }
    m_exchange.position = m_settled;
}

// Whether `wanted` has been counted since it was handled last; it is
// handled now.
bool SoundLoop::takeWanted()
{
    const quint32 wanted = m_exchange.wanted;
    return std::exchange(m_wantedTaken, wanted) != wanted;
}

// After a while with nothing to play, the key untouched and nothing wanted
// since, the output rests.
bool SoundLoop::restIfQuiet()
{
    const bool quiet = !m_sidetone.keyDown() && !m_exchange.keepReady && m_sidetone.scheduleEnd() <= m_settled
                       && m_soundEnd <= m_settled;
    if (!quiet || takeWanted()) {
        m_quietSince = Clock::now();
        return false;
    }
    if (Clock::now() - m_quietSince <= std::chrono::milliseconds(restAfterMs))
        return false;
    m_resting = true;
    m_exchange.resting = true;
    m_output->rest();
    say(SoundState::Resting);
    return true;
}

// Between changes the lead is topped up; without a server, it is looked for
// when it is time.
void SoundLoop::waitForNextTurn()
{
    int waitUs = topUpMs * 1000;
    if (!m_playing)
        waitUs = int(std::clamp<qint64>(usUntilRetry(), 0, waitUs));
    m_output->wait(std::max(waitUs, 1000));
}

// A stream opened anew, or after a rest, starts empty at `m_settled`.
bool SoundLoop::reopen(bool afterRest)
{
    if (!(afterRest ? m_output->resume(m_rate, m_settled) : m_output->open(m_rate, m_settled)))
        return false;
    m_writtenEnd = m_settled;
    m_sidetone.rewindTo(m_settled);
    return true;
}

void SoundLoop::lose()
{
    say(SoundState::Silent, m_output->errorString());
    m_output->close();
    m_playing = false;
    restartClock();
    retryLater();
}

void SoundLoop::restartClock()
{
    m_clockZero = Clock::now() - std::chrono::microseconds(m_settled * 1000000 / m_rate);
}

void SoundLoop::retryLater()
{
    m_retryAt = Clock::now() + std::chrono::milliseconds(retryMs);
}

qint64 SoundLoop::usUntilRetry() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(m_retryAt - Clock::now()).count();
}

// The news goes to the main thread, which says it; this thread writes
// nothing to stderr. The detail is copied while the caller still holds it.
void SoundLoop::say(SoundState state, const QString &detail)
{
    SoundNews news;
    news.state = state;
    const QByteArray text = detail.toUtf8().left(qsizetype(news.detail.size()) - 1);
    std::memcpy(news.detail.data(), text.constData(), size_t(text.size()));
    m_exchange.news.push(news); // a full ring means the main thread has not looked for a while: the newest is lost
    const quint64 one = 1;
    if (m_exchange.newsSignal >= 0)
        (void)!::write(m_exchange.newsSignal, &one, sizeof one);
}

SoundThread::SoundThread(SoundExchange &exchange, int sampleRate, double toneHz)
    : m_exchange(exchange)
    , m_loop(std::make_unique<SoundLoop>(exchange, sampleRate, toneHz))
{ }

SoundThread::~SoundThread()
{
    if (m_thread.joinable()) {
        m_exchange.stop = true;
        m_loop->wake();
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
        m_loop->openFirst();
        opened.set_value();
        m_loop->run();
    });
    hasOpened.wait();
}

void SoundThread::wake()
{
    m_loop->wake();
}
