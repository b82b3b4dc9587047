// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/soundoutput.h"

#include "sound/pulseoutput.h"
#ifdef VESTRANOLI_PIPEWIRE
#include "sound/pipewireoutput.h"
#endif

#include <QtGlobal>

#ifdef VESTRANOLI_PIPEWIRE
namespace {

// PipeWire's own stream while PipeWire's data thread calls it at real-time
// priority; otherwise, from the first stream on, PipeWire's PulseAudio
// service, whose server holds what is to come: an ordinary thread misses
// cycles on a busy machine (42 tones of 210 broken in a copy run under
// load), and the service's longer latency is the smaller harm.
class PipeWireOrItsPulseService : public SoundOutput
{
public:
    bool open(int sampleRate, qint64 position) override
    {
        return m_active == &m_pulse ? m_pulse.open(sampleRate, position)
                                    : settle(m_pipeWire.open(sampleRate, position), sampleRate, position);
    }
    void close() override { m_active->close(); }
    void rest() override { m_active->rest(); }
    bool resume(int sampleRate, qint64 position) override
    {
        return m_active == &m_pulse ? m_pulse.resume(sampleRate, position)
                                    : settle(m_pipeWire.resume(sampleRate, position), sampleRate, position);
    }
    bool isPlaying() override { return m_active->isPlaying(); }
    qint64 playingPosition() override { return m_active->playingPosition(); }
    bool write(qint64 position, const qint16 *samples, qint64 count) override
    {
        return m_active->write(position, samples, count);
    }
    void wait(int timeoutUs) override { m_active->wait(timeoutUs); }
    void wake() override // from any thread, which cannot tell which one waits
    {
        m_pipeWire.wake();
        m_pulse.wake();
    }
    QString errorString() const override { return m_active->errorString(); }

private:
    // Once PipeWire's stream has been asked for samples: kept if it was
    // asked at real-time priority, given up for good otherwise.
    bool settle(bool pipeWireOpen, int sampleRate, qint64 position)
    {
        if (!pipeWireOpen || m_pipeWire.calledInRealTime())
            return pipeWireOpen;
        m_pipeWire.close();
        m_active = &m_pulse;
        return m_pulse.open(sampleRate, position);
    }

    PipeWireOutput m_pipeWire;
    PulseOutput m_pulse;
    SoundOutput *m_active = &m_pipeWire; // the sound thread's own
};

} // namespace
#endif

// Where the sound server is PipeWire (its PulseAudio service says so), its
// own stream, or its PulseAudio service where that stream would not be
// called at real-time priority; PulseAudio's otherwise.
// VESTRANOLI_SOUND=pulse or =pipewire chooses instead.
std::unique_ptr<SoundOutput> makeSoundOutput()
{
#ifdef VESTRANOLI_PIPEWIRE
    const QByteArray chosen = qgetenv("VESTRANOLI_SOUND");
    if (chosen == "pipewire")
        return std::make_unique<PipeWireOutput>();
    if (chosen != "pulse" && PulseOutput::serverIsPipeWire())
        return std::make_unique<PipeWireOrItsPulseService>();
#endif
    return std::make_unique<PulseOutput>();
}
