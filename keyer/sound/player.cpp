// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/player.h"

#include "common/reportproblem.h"
#include "sound/fastpace.h"
#include "sound/soundthread.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <iterator>
#include <utility>

namespace {

// Plenty for a sidetone of up to 2 kHz, and a small recording.
constexpr int sampleRateHz = 8000;
// How far ahead of what has been played a group may be handed to the sound
// thread and still be played whole: now() is as old as the sound thread's
// last turn, up to a top-up period (10 ms), and a busy machine can hold the
// thread up about as long again before it takes it.
constexpr int handOverMs = 20;
// The main thread looks at what the sound thread has played this often,
// for the actions that are due and for the recording.
constexpr int pumpMs = 5;
// In fast mode, how much is rendered before the event loop gets a turn.
constexpr qint64 fastSlice = 8192;

} // namespace

Player::Player(Pace pace, double toneHz, QObject *parent)
    : QObject(parent)
    , m_pace(pace)
    , m_rate(sampleRateHz)
{
    m_exchange.frequency = toneHz;
    m_pump.setTimerType(Qt::PreciseTimer);
    if (m_pace == Pace::Fast) {
        m_fast = std::make_unique<FastPace>(m_exchange, m_rate, toneHz);
        m_pump.setSingleShot(true);
        connect(&m_pump, &QTimer::timeout, this, &Player::renderFast);
    } else {
        m_thread = std::make_unique<SoundThread>(m_exchange, m_rate, toneHz);
        m_pump.setInterval(pumpMs);
        connect(&m_pump, &QTimer::timeout, this, &Player::pump);
    }
}

Player::~Player()
{
    if (m_thread) {
        m_thread.reset(); // joins it
        drainRecording();
    }
    delete m_news;
    if (m_exchange.newsSignal >= 0)
        ::close(m_exchange.newsSignal);
    if (!m_wav.finish())
        reportProblem(tr("cannot finish the recording %1 (%2)").arg(m_wav.path(), m_wav.errorString()));
}

bool Player::start(const QString &wavPath)
{
    if (!wavPath.isEmpty() && !m_wav.open(wavPath, m_rate)) {
        reportProblem(tr("cannot write %1 (%2)").arg(wavPath, m_wav.errorString()));
        return false;
    }
    if (m_pace == Pace::Fast)
        return true;
    if (m_wav.isOpen()) {
        m_exchange.recorded = std::make_unique<SpscRing<qint16, 65536>>();
        m_pump.start();
    }
    m_exchange.newsSignal = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_exchange.newsSignal >= 0) {
        m_news = new QSocketNotifier(m_exchange.newsSignal, QSocketNotifier::Read, this);
        connect(m_news, &QSocketNotifier::activated, this, &Player::takeNews);
    }
    m_thread->start();
    takeNews();
    return true;
}

// What the sound thread has said of the sound server. A failure is said
// once, and so is the server's return; resting is only shown.
void Player::takeNews()
{
    quint64 count;
    if (m_exchange.newsSignal >= 0)
        (void)!::read(m_exchange.newsSignal, &count, sizeof count);
    SoundNews news;
    bool changed = false;
    while (m_exchange.news.pop(news)) {
        const QString detail = QString::fromUtf8(news.detail.data());
        const bool wasSilent = m_state == SoundState::Silent;
        if (news.state == SoundState::Silent && !wasSilent)
            reportProblem(tr("the sound output failed (%1); playing silently until it is back").arg(detail));
        else if (news.state == SoundState::Silent && !m_noted)
            reportProblem(tr("no sound output (%1); playing silently").arg(detail));
        else if (news.state == SoundState::Playing && wasSilent && m_noted)
            reportNews(tr("the sound output is back"));
        m_noted = true;
        if (news.state != SoundState::Resting || m_state != SoundState::Silent)
            changed |= std::exchange(m_state, news.state) != news.state;
    }
    if (changed)
        emit soundStateChanged();
}

qint64 Player::now()
{
    return m_firing ? m_firingAt : qint64(m_exchange.position);
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
    const qint64 lead = m_pace == Pace::RealTime ? handOverMs * m_rate / 1000 : 0;
    const qint64 start = qMax(m_end, now() + lead - silenceFirst);
    m_end = start;
    for (const ToneSegment &segment : segments) {
        if (segment.samples <= 0)
            continue;
        command({PlayCommand::Segment, m_end, segment});
        m_end += segment.samples;
    }
    if (m_pace == Pace::Fast && !m_pump.isActive())
        m_pump.start(0);
    return start;
}

void Player::clearSchedule()
{
    command({PlayCommand::Clear, 0, {}});
    m_end = now();
}

void Player::command(const PlayCommand &command)
{
    if (!m_exchange.commands.push(command) && !std::exchange(m_dropNoted, true))
        reportProblem(tr("the sound output is not taking what is played; dropping it"));
    wakeSoundThread();
}

// Also the pump: while the sound thread plays, the recording is drained.
void Player::wakeSoundThread()
{
    if (!m_thread)
        return;
    m_thread->wake();
    if (m_exchange.recorded && !m_pump.isActive())
        m_pump.start(pumpMs);
}

void Player::at(qint64 position, std::function<void()> action)
{
    m_actions.emplace(position, std::move(action));
    if (!m_pump.isActive())
        m_pump.start(m_pace == Pace::Fast ? 0 : pumpMs);
}

void Player::setBand(const BandConditions &band)
{
    if (!m_exchange.bands.push(band) && !std::exchange(m_dropNoted, true))
        reportProblem(tr("the sound output is not taking what is played; dropping it"));
    wakeSoundThread();
}

void Player::prepare()
{
    m_exchange.wanted.fetch_add(1);
    wakeSoundThread();
}

void Player::setKeepReady(bool ready)
{
    m_exchange.keepReady = ready;
    if (ready)
        prepare();
}

void Player::setKey(bool down, qint64 seenNs)
{
    m_key = down;
    command({down ? PlayCommand::KeyDown : PlayCommand::KeyUp, seenNs, {}});
    if (m_fast)
        m_fast->render(nullptr, 0); // nothing may be rendered for a long while: the key is taken now
}

Player::DirectKey Player::directKey()
{
    if (!m_thread)
        return {};
    return [this](bool down, qint64 seenNs) {
        // A full ring means the sound thread has not run for seconds: the
        // edge is lost with the rest of the sound.
        (void)m_exchange.adapterKey.push({down ? PlayCommand::KeyDown : PlayCommand::KeyUp, seenNs, {}});
        m_thread->wake();
    };
}

// On the main thread, while the sound thread plays: the actions that
// are due, and the recording.
void Player::pump()
{
    // Looked at first: once the output rests, nothing more comes.
    const bool resting = m_exchange.resting;
    drainRecording();
    fireDue(m_exchange.position);
    if (m_actions.empty() && (!m_exchange.recorded || resting))
        m_pump.stop();
}

void Player::drainRecording()
{
    if (!m_exchange.recorded)
        return;
    qint16 samples[512];
    qint64 count = 0;
    while (m_exchange.recorded->pop(samples[count])) {
        if (++count == qint64(std::size(samples))) {
            record(samples, count);
            count = 0;
        }
    }
    record(samples, count);
    if (const qint64 lost = m_exchange.recordingLost; lost != m_recordingLostSaid) {
        m_recordingLostSaid = lost;
        reportProblem(tr("the recording fell behind and lost samples"));
    }
}

void Player::render(qint16 *out, qint64 count)
{
    // Render up to each action's position, and run the action right there:
    // it may append to the schedule, which must then follow seamlessly.
    qint64 done = 0;
    while (done < count) {
        qint64 step = count - done;
        if (!m_actions.empty() && !m_firing)
            step = qBound<qint64>(0, m_actions.begin()->first - m_exchange.position, step);
        if (step > 0) {
            m_fast->render(out + done, step);
            record(out + done, step);
            done += step;
        }
        if (!m_firing)
            fireDue(m_exchange.position);
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
        const qint64 count = qMin(fastSlice, until - m_exchange.position);
        if (count <= 0) {
            fireDue(m_exchange.position);
            break;
        }
        render(buffer.data(), count);
    }
    if (m_end > m_exchange.position || !m_actions.empty())
        m_pump.start(0);
}

// The recording's first failure (a full disk) is said once: the writer has
// closed it whole by then, and the keyer plays on without it.
void Player::record(const qint16 *samples, qint64 count)
{
    if (!m_wav.write(samples, count))
        reportProblem(tr("cannot write the recording %1 (%2); it ends here").arg(m_wav.path(), m_wav.errorString()));
}
