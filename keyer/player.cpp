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
// The sound server's buffer, the delay between a key press and its tone,
// and the block the sound thread renders at a time: a key press waits for
// at most one block and the buffer.
constexpr int soundBufferMs = 6;
constexpr int blockMs = 2;
// The window's thread looks at what the sound thread has played this often,
// for the actions that are due and for the recording.
constexpr int pumpMs = 5;
// In fast mode, how much is rendered before the event loop gets a turn.
constexpr qint64 fastSlice = 8192;

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
        m_thread.join();
        drainRecording();
    }
    m_wav.finish();
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
    const qint64 lead = m_pace == Pace::RealTime ? 2 * blockMs * m_rate / 1000 : 0;
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
}

// The one place that renders, in whichever thread renders.
void Player::renderBlock(qint16 *out, qint64 count)
{
    Command command;
    while (m_commands.pop(command)) {
        if (command.clear)
            m_sidetone.clearSchedule();
        else
            m_sidetone.append(command.start, command.segment);
    }
    m_sidetone.setLiveKey(m_key);
    m_sidetone.setFrequency(m_frequency);
    m_sidetone.setVolume(m_volume);
    m_sidetone.render(out, count);
    m_position = m_sidetone.position();
}

void Player::soundLoop(std::promise<void> opened)
{
    // A thread that sleeps nearly all the time and must wake at once when
    // the server asks: real-time priority where the system allows it (the
    // lowest, above every ordinary program), ordinary otherwise. The output
    // is opened here, so that the sound server's client thread, which the
    // opening starts, shares it.
    const sched_param priority{sched_get_priority_min(SCHED_FIFO)};
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
    m_output = std::make_unique<SoundOutput>();
    if (m_output->open(m_rate, soundBufferMs)) {
        m_playsSound = true;
    } else {
        reportProblem(QStringLiteral("no sound output (%1); playing silently").arg(m_output->errorString()));
        m_output.reset();
    }
    opened.set_value();

    std::vector<qint16> block(size_t(blockMs * m_rate / 1000));
    const auto blockTime = std::chrono::milliseconds(blockMs);
    auto due = std::chrono::steady_clock::now();
    while (!m_stop) {
        renderBlock(block.data(), qint64(block.size()));
        if (m_recorded) {
            for (const qint16 sample : block) {
                if (!m_recorded->push(sample))
                    m_recordingLost = true;
            }
        }
        if (m_output && !m_output->write(block.data(), qint64(block.size()))) {
            reportProblem(QStringLiteral("the sound output failed (%1); playing silently").arg(m_output->errorString()));
            m_output.reset();
            m_playsSound = false;
            due = std::chrono::steady_clock::now();
        }
        if (!m_output) {
            due += blockTime;
            std::this_thread::sleep_until(due);
        }
    }
}

// On this object's thread, while the sound thread plays: the actions that
// are due, and the recording.
void Player::pump()
{
    drainRecording();
    fireDue(m_position);
    if (m_actions.empty() && !m_recorded)
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
            m_wav.write(samples, count);
            count = 0;
        }
    }
    m_wav.write(samples, count);
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
            m_wav.write(out + done, step);
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
    else
        m_wav.flush();
}
