#include "player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <cstdio>
#include <vector>

namespace {

// Plenty for a sidetone of up to 2 kHz, and a small recording.
constexpr int preferredRate = 8000;
// The sound card's buffer: the delay between a key press and its tone.
constexpr int soundBufferMs = 60;
// How often the sound card's buffer is topped up.
constexpr int soundFeedMs = 10;
// Silence for this long and the sound card is left alone until needed.
constexpr int soundIdleMs = 2000;
// In fast mode, how much is rendered before the event loop gets a turn.
constexpr qint64 fastSlice = 8192;

} // namespace

Player::Player(Pace pace, double toneHz, QObject *parent)
    : QObject(parent)
    , m_pace(pace)
{
    m_pump.setTimerType(Qt::PreciseTimer);
    if (m_pace == Pace::Fast) {
        m_pump.setSingleShot(true);
        connect(&m_pump, &QTimer::timeout, this, &Player::renderFast);
    } else {
        m_pump.setInterval(10);
        connect(&m_pump, &QTimer::timeout, this, &Player::renderToRealTime);
    }
    m_sidetone = std::make_unique<Sidetone>(preferredRate, toneHz);
}

Player::~Player()
{
    if (m_sink)
        m_sink->stop();
    m_wav.finish();
}

bool Player::start(const QString &wavPath)
{
    if (m_pace == Pace::RealTime) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            std::fputs("vestranoli-keyer: no sound output found; playing silently\n", stderr);
        } else {
            QAudioFormat format;
            format.setChannelCount(1);
            format.setSampleFormat(QAudioFormat::Int16);
            format.setSampleRate(preferredRate);
            if (!device.isFormatSupported(format))
                format.setSampleRate(device.preferredFormat().sampleRate());
            if (device.isFormatSupported(format)) {
                if (format.sampleRate() != preferredRate)
                    m_sidetone = std::make_unique<Sidetone>(format.sampleRate(), m_sidetone->frequency());
                m_sink = new QAudioSink(device, format, this);
                m_sink->setBufferSize(format.bytesForDuration(soundBufferMs * 1000));
                // Pushed, not pulled: every few milliseconds the sink gets
                // exactly the room it has. What is rendered is then never
                // more than the buffer ahead of what is heard, so the "OK"
                // follows the sound closely and a key press is heard within
                // the buffer's time.
                m_device = m_sink->start();
                if (!m_device || m_sink->error() != QAudio::NoError) {
                    std::fputs("vestranoli-keyer: the sound output failed to start; playing silently\n", stderr);
                    delete m_sink;
                    m_sink = nullptr;
                    m_device = nullptr;
                } else {
                    disconnect(&m_pump, nullptr, this, nullptr);
                    connect(&m_pump, &QTimer::timeout, this, &Player::feedSoundCard);
                    m_pump.start(soundFeedMs);
                }
            } else {
                std::fprintf(stderr, "vestranoli-keyer: %s takes no 16-bit mono sound; playing silently\n",
                             qUtf8Printable(device.description()));
            }
        }
    }
    if (!wavPath.isEmpty() && !m_wav.open(wavPath, sampleRate())) {
        std::fprintf(stderr, "vestranoli-keyer: cannot write %s (%s)\n", qUtf8Printable(wavPath),
                     qUtf8Printable(m_wav.errorString()));
        return false;
    }
    if (m_pace == Pace::RealTime && !m_sink)
        m_clock.start();
    return true;
}

qint64 Player::now()
{
    // Not while an action runs: it was called from a render already.
    if (m_pace == Pace::RealTime && !m_sink && !m_pump.isActive() && !m_firing)
        renderToRealTime();
    return m_sidetone->position();
}

void Player::at(qint64 position, std::function<void()> action)
{
    m_actions.emplace(position, std::move(action));
    wake();
}

void Player::wake()
{
    if (m_sink) {
        if (m_sink->state() == QAudio::SuspendedState) {
            m_sink->resume();
            m_pump.start(soundFeedMs);
        }
        return;
    }
    if (!m_pump.isActive())
        m_pump.start(m_pace == Pace::Fast ? 0 : 10);
}

bool Player::busy() const
{
    return !m_sidetone->quiet() || !m_actions.empty();
}

void Player::render(qint16 *out, qint64 count)
{
    // Render up to each action's position, and run the action right there:
    // it may append to the sidetone, which must then follow seamlessly.
    qint64 done = 0;
    while (done < count) {
        qint64 step = count - done;
        if (!m_actions.empty() && !m_firing)
            step = qBound<qint64>(0, m_actions.begin()->first - m_sidetone->position(), step);
        if (step > 0) {
            m_sidetone->render(out + done, step);
            m_wav.write(out + done, step);
            done += step;
        }
        if (!m_firing)
            fireDue();
    }
}

void Player::fireDue()
{
    m_firing = true;
    while (!m_actions.empty() && m_actions.begin()->first <= m_sidetone->position()) {
        auto action = std::move(m_actions.begin()->second);
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
        qint64 until = m_sidetone->scheduleEnd();
        if (!m_actions.empty())
            until = qMax(until, m_actions.rbegin()->first);
        const qint64 count = qMin(fastSlice, until - m_sidetone->position());
        if (count <= 0) {
            fireDue();
            break;
        }
        render(buffer.data(), count);
    }
    if (workAhead())
        m_pump.start(0);
    else
        m_wav.flush();
}

bool Player::workAhead() const
{
    return m_sidetone->scheduleEnd() > m_sidetone->position() || !m_actions.empty();
}

void Player::feedSoundCard()
{
    if (busy()) {
        m_lastBusy = m_sidetone->position();
    } else if (m_sidetone->position() - m_lastBusy > qint64(soundIdleMs) * sampleRate() / 1000) {
        // Nothing to play for a while: stop feeding silence, which would
        // wake the program a hundred times a second for nothing.
        m_sink->suspend();
        m_pump.stop();
        m_wav.flush();
        return;
    }
    const qint64 room = m_sink->bytesFree() / 2;
    if (room <= 0)
        return;
    std::vector<qint16> buffer(static_cast<size_t>(room));
    render(buffer.data(), room);
    m_device->write(reinterpret_cast<const char *>(buffer.data()), room * 2);
}

void Player::renderToRealTime()
{
    const qint64 target = m_clock.elapsed() * sampleRate() / 1000;
    std::vector<qint16> buffer(2048);
    while (m_sidetone->position() < target) {
        const qint64 count = qMin<qint64>(qint64(buffer.size()), target - m_sidetone->position());
        render(buffer.data(), count);
    }
    if (!busy() && m_pump.isActive()) {
        // Nothing to play: let the clock run without rendering. The
        // silence is rendered when something comes (see now()).
        m_pump.stop();
        m_wav.flush();
    }
}
