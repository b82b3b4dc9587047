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
// In fast mode, how much is rendered before the event loop gets a turn.
constexpr qint64 fastSlice = 8192;

} // namespace

// What the sound card reads: samples rendered as it asks for them.
class SidetoneDevice : public QIODevice
{
public:
    explicit SidetoneDevice(Player &player) : m_player(player) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = maxSize / 2;
        m_player.render(reinterpret_cast<qint16 *>(data), count);
        return count * 2;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    Player &m_player;
};

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
                m_device = new SidetoneDevice(*this);
                m_device->setParent(this);
                m_sink = new QAudioSink(device, format, this);
                m_sink->setBufferSize(format.bytesForDuration(soundBufferMs * 1000));
                m_sink->start(m_device);
                if (m_sink->error() != QAudio::NoError) {
                    std::fputs("vestranoli-keyer: the sound output failed to start; playing silently\n", stderr);
                    delete m_sink;
                    m_sink = nullptr;
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
    if (m_pace == Pace::RealTime && !m_sink) {
        m_clock.start();
        m_clockOrigin = 0;
    }
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
    if (m_sink)
        return; // the sound card keeps pulling
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

void Player::renderToRealTime()
{
    const qint64 target = m_clockOrigin + m_clock.elapsed() * sampleRate() / 1000;
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
