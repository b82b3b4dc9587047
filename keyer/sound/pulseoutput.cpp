// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/pulseoutput.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

// The server keeps this much of what is to come (more than the sound
// thread's lead), enough to ride out a stall of the machine...
constexpr int bufferMs = 300;
// ...and mixes only this far ahead: what is written again in between is
// heard.
constexpr int requestMs = 4;

} // namespace

bool PulseOutput::serverIsPipeWire()
{
    PulseOutput probe;
    if (!probe.connect())
        return false;
    const auto told = [](pa_context *, const pa_server_info *info, void *self) {
        auto *output = static_cast<PulseOutput *>(self);
        output->m_error = QString::fromUtf8(info && info->server_name ? info->server_name : "?");
    };
    if (pa_operation *operation = pa_context_get_server_info(probe.m_context, told, &probe))
        pa_operation_unref(operation);
    const auto named = [](PulseOutput *self) {
        return !self->m_error.isEmpty();
    };
    // "PulseAudio (on PipeWire 0.3.65)"
    return probe.iterateUntil(named, 5000) && probe.m_error.contains(QLatin1String("PipeWire"));
}

PulseOutput::PulseOutput()
    : m_loop(pa_mainloop_new())
{ }

PulseOutput::~PulseOutput()
{
    close();
    pa_mainloop_free(m_loop);
}

bool PulseOutput::open(int sampleRate, qint64 position)
{
    close();
    m_rate = sampleRate;
    m_base = position;
    if (!connect())
        return fail(QT_TRANSLATE_NOOP("SoundOutput", "connecting"));

    const pa_sample_spec spec{PA_SAMPLE_S16LE, uint32_t(sampleRate), 1};
    m_stream = pa_stream_new(m_context, "sidetone", &spec, nullptr);
    // No prebuffering, so that the server's read position keeps time even
    // when it runs dry.
    const pa_buffer_attr buffer{.maxlength = uint32_t(-1),
                                .tlength = uint32_t(pa_usec_to_bytes(pa_usec_t(bufferMs) * 1000, &spec)),
                                .prebuf = 0,
                                .minreq = uint32_t(pa_usec_to_bytes(pa_usec_t(requestMs) * 1000, &spec)),
                                .fragsize = uint32_t(-1)};
    if (pa_stream_connect_playback(m_stream, nullptr, &buffer, PA_STREAM_EARLY_REQUESTS, nullptr, nullptr) < 0)
        return fail(QT_TRANSLATE_NOOP("SoundOutput", "opening a stream"));
    const auto streamReady = [](PulseOutput *self) {
        return pa_stream_get_state(self->m_stream) == PA_STREAM_READY;
    };
    if (!iterateUntil(streamReady, 5000))
        return fail(QT_TRANSLATE_NOOP("SoundOutput", "opening a stream"));
    m_readPosition = -1;
    askTiming();
    const auto streamTimed = [](PulseOutput *self) {
        return self->m_readPosition >= 0;
    };
    if (!iterateUntil(streamTimed, 5000))
        return fail(QT_TRANSLATE_NOOP("SoundOutput", "opening a stream"));
    return true;
}

bool PulseOutput::connect()
{
    m_context = pa_context_new(pa_mainloop_get_api(m_loop), "vestranoli-keyer");
    const auto contextReady = [](PulseOutput *self) {
        return pa_context_get_state(self->m_context) == PA_CONTEXT_READY;
    };
    return pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0
           && iterateUntil(contextReady, 5000);
}

void PulseOutput::close()
{
    if (m_stream) {
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
}

void PulseOutput::askTiming()
{
    if (pa_operation *operation = pa_stream_update_timing_info(m_stream, &PulseOutput::timed, this)) {
        pa_operation_unref(operation);
        m_asking = true;
        m_askedAt = Clock::now();
    }
}

void PulseOutput::timed(pa_stream *stream, int success, void *self)
{
    auto *output = static_cast<PulseOutput *>(self);
    if (stream != output->m_stream)
        return; // a stream closed since
    output->m_asking = false;
    const pa_timing_info *info = pa_stream_get_timing_info(stream);
    if (!success || !info || info->read_index_corrupt)
        return;
    // Taken as current now: the answer is a fraction of a millisecond old.
    output->m_timedAt = Clock::now();
    output->m_readPosition = info->read_index / qint64(sizeof(qint16));
    output->m_sinkDelay = qint64(info->sink_usec) * output->m_rate / 1000000;
}

bool PulseOutput::iterateUntil(bool (*ready)(PulseOutput *), int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!ready(this)) {
        if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context))
            || (m_stream && !PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream))) || waited.elapsed() > timeoutMs)
            return false;
        wait(10000);
    }
    return true;
}

bool PulseOutput::fail(const char *what)
{
    const int error = m_context ? pa_context_errno(m_context) : PA_ERR_UNKNOWN;
    m_error = QStringLiteral("%1: %2").arg(QCoreApplication::translate("SoundOutput", what),
                                           QString::fromUtf8(pa_strerror(error)));
    close();
    return false;
}

bool PulseOutput::isPlaying()
{
    if (m_stream
        && (pa_stream_get_state(m_stream) != PA_STREAM_READY || pa_context_get_state(m_context) != PA_CONTEXT_READY))
        fail(QT_TRANSLATE_NOOP("SoundOutput", "playing"));
    return m_stream != nullptr;
}

qint64 PulseOutput::playingPosition()
{
    // The server takes samples at its rate whether the stream has them or
    // not, so the position runs on from what it said last. Libpulse's own
    // estimate stops while the stream runs dry, as it does before anything
    // is written.
    const Clock::time_point now = Clock::now();
    if (!m_asking && now - m_askedAt > std::chrono::milliseconds(100))
        askTiming();
    if (m_readPosition < 0)
        return -1;
    const qint64 elapsedUs = std::chrono::duration_cast<std::chrono::microseconds>(now - m_timedAt).count();
    return m_base + m_readPosition + elapsedUs * m_rate / 1000000 - m_sinkDelay;
}

bool PulseOutput::write(qint64 position, const qint16 *samples, qint64 count)
{
    if (position < m_base) {
        const qint64 before = std::min(count, m_base - position);
        samples += before;
        count -= before;
        position += before;
    }
    if (count > 0
        && pa_stream_write(m_stream, samples, size_t(count) * sizeof(qint16), nullptr,
                           (position - m_base) * qint64(sizeof(qint16)), PA_SEEK_ABSOLUTE)
               < 0)
        return fail(QT_TRANSLATE_NOOP("SoundOutput", "playing"));
    return true;
}

void PulseOutput::wait(int timeoutUs)
{
    // Preparing drops earlier wake-ups, so one asked for since the last wait
    // (or while this prepares) is looked for here. One counted after the
    // count is read is looked for again at the next wait: at worst a turn
    // too many, never a wake-up lost.
    const quint32 wakes = m_wakes.load(std::memory_order_acquire);
    if (pa_mainloop_prepare(m_loop, timeoutUs) < 0)
        return;
    if (wakes != m_wakesHandled)
        pa_mainloop_wakeup(m_loop);
    pa_mainloop_poll(m_loop);
    pa_mainloop_dispatch(m_loop);
    m_wakesHandled = wakes;
}

void PulseOutput::wake()
{
    m_wakes.fetch_add(1, std::memory_order_release);
    pa_mainloop_wakeup(m_loop);
}
