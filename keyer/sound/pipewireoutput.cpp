// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/pipewireoutput.h"

#include "core/cubic.h"
#include "core/monotonicclock.h"

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>
#include <spa/utils/result.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <poll.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <tuple>

namespace {

// PipeWire's graph period asked for: 128 samples at 48 kHz, 2.7 ms. At 64
// (1.3 ms) this thread now and then missed a cycle on a busy machine, even
// at real-time priority: a period of silence inside a tone (12 tones of 210
// broken in a copy run under load, against 1 of 420 at 128).
constexpr const char *nodeLatency = "128/48000";
// The stream's rate. PipeWire's own resampler would delay the keyer's
// 8 kHz by its filter, about 4 ms; the stream brings it up to 48 kHz itself
// with a cubic (Catmull-Rom) interpolation, which looks two samples ahead
// (0.25 ms at 8 kHz). The sidetone has nothing above 2 kHz, so what the
// interpolation leaves of the 8 kHz images is weak and high.
constexpr int streamRate = 48000;

// Whether the PipeWire library this runs with is older than the version given.
bool libraryBefore(int major, int minor, int micro)
{
    int version[3] = {};
    std::sscanf(pw_get_library_version(), "%d.%d.%d", &version[0], &version[1], &version[2]);
    return std::tie(version[0], version[1], version[2]) < std::tie(major, minor, micro);
}

void initPipeWire()
{
    static std::once_flag done;
    std::call_once(done, [] { pw_init(nullptr, nullptr); });
}

const pw_stream_events &streamEvents()
{
    static const pw_stream_events events = [] {
        pw_stream_events e{};
        e.version = PW_VERSION_STREAM_EVENTS;
        e.state_changed = [](void *self, pw_stream_state old, pw_stream_state state, const char *error) {
            PipeWireOutput::stateChangedThunk(self, int(old), int(state), error);
        };
        e.process = &PipeWireOutput::processThunk;
        return e;
    }();
    return events;
}

} // namespace

PipeWireOutput::PipeWireOutput()
    : m_wakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    initPipeWire();
}

PipeWireOutput::~PipeWireOutput()
{
    close();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

bool PipeWireOutput::open(int sampleRate, qint64 position)
{
    close();
    m_error.clear();
    m_rate = sampleRate;
    m_base = position;
    m_resumedAtNs = 0;
    m_writtenEnd = 0;
    m_fromPipeWire = std::make_unique<FromPipeWire>();

    m_loop = pw_thread_loop_new("vestranoli-pw", nullptr);
    // "client-rt.conf" loads PipeWire's real-time module, which raises the
    // thread that calls the stream to real-time priority: through rtkit on
    // a desktop, itself where the keyer may. Before 1.3.81 the default
    // client.conf does not load it; since then it does, and naming the old
    // file only draws a warning.
    m_context
        = m_loop ? pw_context_new(
              pw_thread_loop_get_loop(m_loop),
              libraryBefore(1, 3, 81) ? pw_properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf", nullptr) : nullptr, 0)
                 : nullptr;
    if (!m_context) {
        const int error = errno;
        return fail(QCoreApplication::translate("SoundOutput", "starting PipeWire: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(error))));
    }
    pw_thread_loop_lock(m_loop);
    if (const int started = pw_thread_loop_start(m_loop); started < 0) {
        pw_thread_loop_unlock(m_loop);
        return fail(QCoreApplication::translate("SoundOutput", "starting PipeWire: %1")
                        .arg(QString::fromLocal8Bit(spa_strerror(started))));
    }
    m_core = pw_context_connect(m_context, nullptr, 0);
    if (!m_core) {
        const int error = errno;
        pw_thread_loop_unlock(m_loop);
        return fail(QCoreApplication::translate("SoundOutput", "connecting: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(error))));
    }
    static const pw_core_events coreEvents = [] {
        pw_core_events e{};
        e.version = PW_VERSION_CORE_EVENTS;
        e.error = &PipeWireOutput::coreErrorThunk;
        return e;
    }();
    m_coreListener = std::make_unique<spa_hook>();
    *m_coreListener = {};
    pw_core_add_listener(m_core, m_coreListener.get(), &coreEvents, this);

    pw_properties *properties = pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback",
                                                  PW_KEY_MEDIA_ROLE, "Production", PW_KEY_NODE_LATENCY, nodeLatency,
                                                  PW_KEY_APP_NAME, "vestranoli-keyer", nullptr);
    m_stream = pw_stream_new(m_core, "sidetone", properties);
    m_streamListener = std::make_unique<spa_hook>();
    *m_streamListener = {};
    pw_stream_add_listener(m_stream, m_streamListener.get(), &streamEvents(), this);

    quint8 buffer[1024];
    spa_pod_builder builder;
    spa_pod_builder_init(&builder, buffer, sizeof buffer);
    spa_audio_info_raw info{};
    info.format = SPA_AUDIO_FORMAT_S16;
    m_factor = streamRate % sampleRate == 0 ? streamRate / sampleRate : 1;
    info.rate = uint32_t(sampleRate * m_factor);
    info.channels = 1;
    info.position[0] = SPA_AUDIO_CHANNEL_MONO;
    const spa_pod *format = spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info);
    const int connected = pw_stream_connect(
        m_stream, PW_DIRECTION_OUTPUT, PW_ID_ANY,
        pw_stream_flags(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_RT_PROCESS), &format,
        1);
    pw_thread_loop_unlock(m_loop);
    if (connected < 0)
        return fail(QCoreApplication::translate("SoundOutput", "opening a stream: %1")
                        .arg(QString::fromLocal8Bit(spa_strerror(connected))));

    // Ready once the graph has asked for samples.
    QElapsedTimer waited;
    waited.start();
    while (!m_fromPipeWire->streaming && !m_fromPipeWire->failed) {
        if (waited.elapsed() > 5000)
            return fail(QCoreApplication::translate("SoundOutput", "opening a stream: no answer"));
        wait(10000);
    }
    return !m_fromPipeWire->failed
           || fail(QCoreApplication::translate("SoundOutput", "opening a stream: %1").arg(serverWords()));
}

// The stream made inactive: PipeWire stops asking for it, and the sink
// with nothing to play is suspended; the connection stays, so the next key
// need not wait for a new stream to be set up.
void PipeWireOutput::rest()
{
    if (!m_stream)
        return;
    pw_thread_loop_lock(m_loop);
    pw_stream_set_active(m_stream, false);
    pw_thread_loop_unlock(m_loop);
}

bool PipeWireOutput::resume(int sampleRate, qint64 position)
{
    if (!m_stream || m_fromPipeWire->failed || sampleRate != m_rate)
        return open(sampleRate, position);
    // PipeWire goes on from the next sample it would have taken, which is
    // now the keyer's `position`; nothing after it is written yet. Inactive,
    // the stream is not called: what it took last stands still.
    const qint64 next = m_fromPipeWire->taken - 2;
    m_writtenEnd.store(next, std::memory_order_release);
    m_base = position - next;
    m_resumedAtNs = monotonicNs();
    pw_thread_loop_lock(m_loop);
    pw_stream_set_active(m_stream, true);
    pw_thread_loop_unlock(m_loop);
    return true;
}

void PipeWireOutput::close()
{
    if (m_loop)
        pw_thread_loop_stop(m_loop);
    if (m_stream)
        pw_stream_destroy(m_stream);
    m_stream = nullptr;
    if (m_core)
        pw_core_disconnect(m_core);
    m_core = nullptr;
    if (m_context)
        pw_context_destroy(m_context);
    m_context = nullptr;
    if (m_loop)
        pw_thread_loop_destroy(m_loop);
    m_loop = nullptr;
    m_streamListener.reset();
    m_coreListener.reset();
    m_fromPipeWire.reset();
}

bool PipeWireOutput::fail(const QString &what)
{
    m_error = what;
    close();
    return false;
}

// What the server or the stream said of its failure; read once it has failed.
QString PipeWireOutput::serverWords() const
{
    const QString words = QString::fromUtf8(m_fromPipeWire->error.data());
    return words.isEmpty() ? QCoreApplication::translate("SoundOutput", "the server went away") : words;
}

bool PipeWireOutput::isPlaying()
{
    if (m_stream && m_fromPipeWire->failed)
        fail(QCoreApplication::translate("SoundOutput", "playing: %1").arg(serverWords()));
    return m_stream != nullptr;
}

qint64 PipeWireOutput::playingPosition()
{
    // PipeWire takes a period at the start of each cycle. Said to be heard a
    // period before what it has taken, so that what the sound thread writes
    // 3 ms ahead of it (two periods and more) is never taken already.
    if (!m_fromPipeWire)
        return -1;
    const qint64 takenAt = m_fromPipeWire->takenAtNs;
    if (takenAt == 0 || takenAt <= m_resumedAtNs)
        return -1;
    const qint64 period = m_fromPipeWire->period;
    const qint64 elapsed = std::min((monotonicNs() - takenAt) * m_rate / 1000000000, period);
    return m_base + m_fromPipeWire->taken - period + elapsed;
}

// PipeWire's data thread may take a period while this runs, reading forward. So
// it is written backward, last sample first: whatever the moment, that
// thread sees what was there, then from one sample on what is written,
// never the new and the old in turn (a tone with a hole of up to a period
// in it, when a key's change came in while a period was being taken).
bool PipeWireOutput::write(qint64 position, const qint16 *samples, qint64 count)
{
    for (qint64 i = count - 1; i >= 0; --i) {
        const qint64 at = position + i - m_base;
        if (at < 0)
            break;
        m_ring[size_t(at % ringSize)].store(samples[i], std::memory_order_release);
    }
    const qint64 end = position + count - m_base;
    if (end > m_writtenEnd)
        m_writtenEnd.store(end, std::memory_order_release);
    return !m_fromPipeWire || !m_fromPipeWire->failed;
}

void PipeWireOutput::wait(int timeoutUs)
{
    pollfd fd{m_wakeFd, POLLIN, 0};
    timespec timeout{timeoutUs / 1000000, (timeoutUs % 1000000) * 1000L};
    if (::ppoll(&fd, 1, timeoutUs < 0 ? nullptr : &timeout, nullptr) > 0) {
        quint64 count;
        (void)!::read(m_wakeFd, &count, sizeof count);
    }
}

void PipeWireOutput::wake()
{
    const quint64 one = 1;
    (void)!::write(m_wakeFd, &one, sizeof one);
}

// PipeWire's data thread: the next period from the ring, brought up to
// the stream's rate, silence where nothing has been written (the position
// keeps time all the same).
void PipeWireOutput::processThunk(void *self)
{
    auto *output = static_cast<PipeWireOutput *>(self);
    FromPipeWire &told = *output->m_fromPipeWire;
    pw_buffer *buffer = pw_stream_dequeue_buffer(output->m_stream);
    if (!buffer)
        return;
    spa_data &data = buffer->buffer->datas[0];
    auto *out = static_cast<qint16 *>(data.data);
    if (!out)
        return;
    qint64 count = data.maxsize / sizeof(qint16);
    if (buffer->requested)
        count = std::min<qint64>(count, qint64(buffer->requested));
    const qint64 factor = output->m_factor;
    const qint64 from = told.streamTaken;
    const qint64 written = output->m_writtenEnd.load(std::memory_order_acquire);
    const auto sample = [output, written](qint64 position) -> float {
        return position >= 0 && position < written
                   ? float(output->m_ring[size_t(position % ringSize)].load(std::memory_order_acquire))
                   : 0.0f;
    };
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = from + i;
        const qint64 p = at / factor;
        const float t = float(at % factor) / float(factor);
        const float value = cubicBetween(sample(p - 1), sample(p), sample(p + 1), sample(p + 2), t);
        out[i] = qint16(std::clamp(std::lround(value), -32768L, 32767L));
    }
    data.chunk->offset = 0;
    data.chunk->stride = sizeof(qint16);
    data.chunk->size = uint32_t(count * qint64(sizeof(qint16)));
    pw_stream_queue_buffer(output->m_stream, buffer);
    told.streamTaken = from + count;
    // The furthest sample of the keyer's read: two past the last one due.
    told.taken.store((from + count + factor - 1) / factor + 2, std::memory_order_relaxed);
    told.period.store((count + factor - 1) / factor, std::memory_order_relaxed);
    told.takenAtNs.store(monotonicNs(), std::memory_order_release);
    if (!told.streaming.load(std::memory_order_relaxed)) {
        const int policy = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
        told.realTime = policy == SCHED_FIFO || policy == SCHED_RR;
        told.streaming = true;
        output->wake();
    }
}

// The first failure is kept, in the server's words, for the sound thread to
// say. Only what the loop's thread tells counts: the stream destroyed in
// close(), the loop stopped, says it is unconnected on the sound thread,
// and that is no news.
void PipeWireOutput::failedWith(const char *words)
{
    FromPipeWire &told = *m_fromPipeWire;
    if (!pw_thread_loop_in_thread(m_loop) || told.failed.load(std::memory_order_relaxed))
        return;
    qstrncpy(told.error.data(), words ? words : "", told.error.size());
    told.failed.store(true, std::memory_order_release);
    wake();
}

void PipeWireOutput::stateChangedThunk(void *self, int, int state, const char *error)
{
    auto *output = static_cast<PipeWireOutput *>(self);
    if (state == PW_STREAM_STATE_ERROR || (state == PW_STREAM_STATE_UNCONNECTED && output->m_fromPipeWire->streaming))
        output->failedWith(error);
}

void PipeWireOutput::coreErrorThunk(void *self, uint32_t id, int, int res, const char *message)
{
    auto *output = static_cast<PipeWireOutput *>(self);
    if (id != PW_ID_CORE) // the connection to the server is lost
        return;
    char words[160];
    std::snprintf(words, sizeof words, "%s (%s)", message ? message : "", spa_strerror(res));
    output->failedWith(words);
}
