#include "player.h"

#include "common/reportproblem.h"
#include "soundoutput.h"

#include <pthread.h>
#include <sched.h>

#include <chrono>
#include <future>
#include <iterator>

namespace {

// Plenty for a sidetone of up to 2 kHz, and a small recording.
constexpr int sampleRateHz = 8000;
// The sound server holds this much of what is to come, so that a machine
// that stalls for tens of milliseconds does not break the tone up...
constexpr int leadMs = 250;
// ...and mixes it this far ahead of the loudspeaker.
constexpr int requestMs = 4;
// A change (the key, a group to play) is written this far ahead of what is
// being heard, time enough to reach the server before it is played: the
// delay between a key press and its tone.
constexpr int marginMs = 3;
// After this long with nothing to play and the key untouched, the sound
// output stands still (corked): the server neither mixes nor wakes for it.
constexpr int idleAfterMs = 10000;
// Between changes the sound thread tops the lead up this often.
constexpr int topUpMs = 10;
// The window's thread looks at what the sound thread has played this often,
// for the actions that are due and for the recording.
constexpr int pumpMs = 5;
// In fast mode, how much is rendered before the event loop gets a turn.
constexpr qint64 fastSlice = 8192;
// What the sound thread has written to the server, kept until it is settled
// (for the recording) and to tell what a rewrite changes: far more than the
// lead.
constexpr qint64 writtenKept = 65536;

} // namespace

Player::Player(Pace pace, double toneHz, QObject *parent)
    : QObject(parent)
    , m_pace(pace)
    , m_rate(sampleRateHz)
    , m_sidetone(sampleRateHz, toneHz)
    , m_frequency(toneHz)
{
    m_pump.setTimerType(Qt::PreciseTimer);
    if (m_pace == Pace::Fast) {
        m_pump.setSingleShot(true);
        connect(&m_pump, &QTimer::timeout, this, &Player::renderFast);
    } else {
        m_pump.setInterval(pumpMs);
        connect(&m_pump, &QTimer::timeout, this, &Player::pump);
    }
}

Player::~Player()
{
    if (m_thread.joinable()) {
        m_stop = true;
        m_output->wake();
        m_thread.join();
        drainRecording();
    }
    if (!m_wav.finish())
        reportProblem(QStringLiteral("cannot finish the recording %1 (%2)").arg(m_wav.path(), m_wav.errorString()));
}

bool Player::start(const QString &wavPath)
{
    if (!wavPath.isEmpty() && !m_wav.open(wavPath, m_rate)) {
        reportProblem(QStringLiteral("cannot write %1 (%2)").arg(wavPath, m_wav.errorString()));
        return false;
    }
    if (m_pace == Pace::Fast)
        return true;
    if (m_wav.isOpen()) {
        m_recorded = std::make_unique<SpscRing<qint16, 65536>>();
        m_pump.start();
    }
    m_output = std::make_unique<SoundOutput>();
    std::promise<void> opened;
    std::future<void> hasOpened = opened.get_future();
    m_thread = std::thread(&Player::soundLoop, this, std::move(opened));
    hasOpened.wait();
    return true;
}

qint64 Player::now()
{
    return m_firing ? m_firingAt : qint64(m_position);
}

qint64 Player::append(const std::vector<ToneSegment> &segments)
{
    // The sound thread may render a block or two before it takes the new
    // segments; the first tone must come after that, or it would be cut.
    qint64 silenceFirst = 0;
    for (const ToneSegment &segment : segments) {
        if (segment.tone)
            break;
        silenceFirst += segment.samples;
    }
    // now() is as old as the sound thread's last turn, up to a top-up
    // period, and a busy machine can hold the thread up about as long again
    // before it takes them; what it takes late loses its start.
    const qint64 lead = m_pace == Pace::RealTime ? 2 * topUpMs * m_rate / 1000 : 0;
    const qint64 start = qMax(m_end, now() + lead - silenceFirst);
    m_end = start;
    for (const ToneSegment &segment : segments) {
        if (segment.samples <= 0)
            continue;
        command({false, m_end, segment});
        m_end += segment.samples;
    }
    if (m_pace == Pace::Fast && !m_pump.isActive())
        m_pump.start(0);
    return start;
}

void Player::clearSchedule()
{
    command({true, 0, {}});
    m_end = now();
}

void Player::command(const Command &command)
{
    if (!m_commands.push(command) && !m_noted) {
        m_noted = true;
        reportProblem(QStringLiteral("the sound output is not taking what is played; dropping it"));
    }
    wakeSoundThread();
}

void Player::wakeSoundThread()
{
    if (m_output)
        m_output->wake();
    wakePump();
}

// The recording is drained while the sound thread plays; the pump stops
// while the output stands still.
void Player::wakePump()
{
    if (m_recorded && !m_pump.isActive())
        m_pump.start(pumpMs);
}

void Player::prepare()
{
    m_wanted = true;
    wakeSoundThread();
}

void Player::setKeepReady(bool ready)
{
    m_keepReady = ready;
    if (ready)
        prepare();
}

void Player::at(qint64 position, std::function<void()> action)
{
    m_actions.emplace(position, std::move(action));
    if (!m_pump.isActive())
        m_pump.start(m_pace == Pace::Fast ? 0 : pumpMs);
}

void Player::setKey(bool down)
{
    m_key = down;
    wakeSoundThread();
}

// Samples before `settled` no longer change. Hands the sidetone what the
// window has changed: the key and a cleared schedule from `settled` on, new
// segments from where they start; what was rendered beyond that is rendered
// again.
void Player::takeChanges(qint64 settled)
{
    m_sidetone.settle(settled);
    qint64 from = m_sidetone.position();
    Command command;
    while (m_commands.pop(command)) {
        if (command.clear) {
            m_sidetone.rewindTo(settled);
            m_sidetone.clearSchedule();
        } else {
            m_sidetone.append(command.start, command.segment);
            from = std::min(from, command.start);
        }
    }
    if (m_key != m_sidetone.liveKey()) {
        m_sidetone.rewindTo(settled);
        m_sidetone.setLiveKey(m_key);
    }
    if (from < m_sidetone.position())
        m_sidetone.rewindTo(from);
    m_sidetone.setFrequency(m_frequency);
    m_sidetone.setVolume(m_volume);
}

// Renders in fast mode, on this object's thread: nothing lies ahead.
void Player::renderBlock(qint16 *out, qint64 count)
{
    takeChanges(m_sidetone.position());
    m_sidetone.render(out, count);
    m_position = m_sidetone.position();
}

void Player::soundLoop(std::promise<void> opened)
{
    // A thread that sleeps nearly all the time and must wake at once when
    // the key moves: real-time priority where the system allows it (the
    // lowest, above every ordinary program), ordinary otherwise.
    const sched_param priority{sched_get_priority_min(SCHED_FIFO)};
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
    if (m_output->open(m_rate, leadMs + 2 * topUpMs, requestMs))
        m_playsSound = true;
    else
        reportProblem(QStringLiteral("no sound output (%1); playing silently").arg(m_output->errorString()));
    opened.set_value();

    // Samples before `settled` are being heard or about to be: they no
    // longer change, so they go to the clock and the recording. Those after
    // it, up to the lead, wait at the server and are written again when the
    // key moves or a group comes. Without sound the clock paces it all.
    using Clock = std::chrono::steady_clock;
    const qint64 margin = qint64(marginMs) * m_rate / 1000;
    const qint64 lead = qint64(leadMs) * m_rate / 1000;
    const auto samplesSince = [this](Clock::time_point zero) {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - zero).count() * m_rate / 1000000;
    };
    Clock::time_point clockZero = Clock::now();
    qint64 settled = 0;
    // What the server holds from `settled` on ends at `writtenEnd`; a copy
    // of it is kept in `written`, a ring indexed by position.
    std::vector<qint16> written(static_cast<size_t>(writtenKept));
    qint64 writtenEnd = 0;
    std::vector<qint16> fresh;
    const auto playSilently = [&] {
        reportProblem(QStringLiteral("the sound output failed (%1); playing silently").arg(m_output->errorString()));
        m_playsSound = false;
        clockZero = Clock::now() - std::chrono::microseconds(settled * 1000000 / m_rate);
    };
    // The last sample rendered that was not silence, and since when there
    // has been nothing to play.
    qint64 lastSound = 0;
    Clock::time_point quietSince = Clock::now();
    while (!m_stop) {
        if (m_idle) {
            if (!m_key && m_commands.empty() && !m_wanted) {
                m_output->wait(-1);
                continue;
            }
            // The clock goes on from where it stood.
            m_idle = false;
            if (m_playsSound && !m_output->setActive(true))
                playSilently();
            clockZero = Clock::now() - std::chrono::microseconds(settled * 1000000 / m_rate);
            quietSince = Clock::now();
        }
        if (m_playsSound && !m_output->isPlaying())
            playSilently();
        if (!m_playsSound)
            settled = std::max<qint64>(settled, samplesSince(clockZero));
        else if (const qint64 playing = m_output->playingPosition(); playing >= 0)
            settled = std::max(settled, playing + margin);
        takeChanges(settled);

        const qint64 start = m_sidetone.position();
        const qint64 until = m_playsSound ? settled + lead : settled;
        fresh.resize(size_t(std::max<qint64>(0, until - start)));
        m_sidetone.render(fresh.data(), qint64(fresh.size()));
        for (qint64 p = until - 1; p > lastSound && p >= start; --p) {
            if (fresh[size_t(p - start)] != 0) {
                lastSound = p;
                break;
            }
        }
        // Only what changed goes to the server again. A rewrite of what it
        // has already mixed makes it rewind its sink, and where the sink's
        // rate is not the stream's that rewind can land a sample off: one
        // sample played twice, a click in a tone's fall. A group appended
        // after silence, or a pause after a group, changes nothing already
        // written but the silence before the group's first tone.
        qint64 changed = start;
        while (changed < writtenEnd && changed < until && written[size_t(changed % writtenKept)] == fresh[size_t(changed - start)])
            ++changed;
        for (qint64 p = changed; p < until; ++p)
            written[size_t(p % writtenKept)] = fresh[size_t(p - start)];
        if (m_playsSound && changed < until
            && !m_output->write(changed, fresh.data() + (changed - start), until - changed))
            playSilently();
        writtenEnd = std::max(writtenEnd, until);

        if (m_recorded) {
            for (qint64 p = m_position; p < settled; ++p) {
                if (!m_recorded->push(written[size_t(p % writtenKept)]))
                    m_recordingLost = true;
            }
        }
        m_position = settled;

        const bool quiet = !m_key && !m_keepReady && m_sidetone.scheduleEnd() <= settled && lastSound < settled;
        if (!quiet || m_wanted.exchange(false)) {
            quietSince = Clock::now();
        } else if (Clock::now() - quietSince > std::chrono::milliseconds(idleAfterMs)) {
            m_idle = true;
            if (m_playsSound && !m_output->setActive(false))
                playSilently();
            continue;
        }
        m_output->wait(topUpMs * 1000);
    }
}

// On this object's thread, while the sound thread plays: the actions that
// are due, and the recording.
void Player::pump()
{
    // Looked at first: once the output stands still, nothing more comes.
    const bool idle = m_idle;
    drainRecording();
    fireDue(m_position);
    if (m_actions.empty() && (!m_recorded || idle))
        m_pump.stop();
}

void Player::drainRecording()
{
    if (!m_recorded)
        return;
    qint16 samples[512];
    qint64 count = 0;
    while (m_recorded->pop(samples[count])) {
        if (++count == qint64(std::size(samples))) {
            record(samples, count);
            count = 0;
        }
    }
    record(samples, count);
    if (m_recordingLost.exchange(false))
        reportProblem(QStringLiteral("the recording fell behind and lost samples"));
}

void Player::render(qint16 *out, qint64 count)
{
    // Render up to each action's position, and run the action right there:
    // it may append to the schedule, which must then follow seamlessly.
    qint64 done = 0;
    while (done < count) {
        qint64 step = count - done;
        if (!m_actions.empty() && !m_firing)
            step = qBound<qint64>(0, m_actions.begin()->first - m_position, step);
        if (step > 0) {
            renderBlock(out + done, step);
            record(out + done, step);
            done += step;
        }
        if (!m_firing)
            fireDue(m_position);
    }
}

void Player::fireDue(qint64 position)
{
    m_firing = true;
    while (!m_actions.empty() && m_actions.begin()->first <= position) {
        auto action = std::move(m_actions.begin()->second);
        m_firingAt = m_actions.begin()->first;
        m_actions.erase(m_actions.begin());
        action();
    }
    m_firing = false;
}

void Player::renderFast()
{
    std::vector<qint16> buffer(fastSlice);
    for (int slice = 0; slice < 8; ++slice) {
        // Stop where the last thing to do is: never run on into silence,
        // nor follow a key held down (there is nobody to hear it).
        qint64 until = m_end;
        if (!m_actions.empty())
            until = qMax(until, m_actions.rbegin()->first);
        const qint64 count = qMin(fastSlice, until - m_position);
        if (count <= 0) {
            fireDue(m_position);
            break;
        }
        render(buffer.data(), count);
    }
    if (m_end > m_position || !m_actions.empty())
        m_pump.start(0);
}

// The recording's first failure (a full disk) is said once: the writer has
// closed it whole by then, and the keyer plays on without it.
void Player::record(const qint16 *samples, qint64 count)
{
    if (!m_wav.write(samples, count))
        reportProblem(QStringLiteral("cannot write the recording %1 (%2); it ends here").arg(m_wav.path(), m_wav.errorString()));
}
