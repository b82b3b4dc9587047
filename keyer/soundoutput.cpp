#include "soundoutput.h"

#include <pulse/error.h>
#include <pulse/simple.h>

SoundOutput::~SoundOutput()
{
    if (m_stream)
        pa_simple_free(m_stream);
}

bool SoundOutput::open(int sampleRate, int bufferMs)
{
    const pa_sample_spec spec{PA_SAMPLE_S16LE, uint32_t(sampleRate), 1};
    // The target length is the whole latency, the server's own buffer
    // included: the stream asks the server to fit it.
    pa_buffer_attr buffer;
    buffer.maxlength = uint32_t(-1);
    buffer.tlength = uint32_t(pa_usec_to_bytes(pa_usec_t(bufferMs) * 1000, &spec));
    buffer.prebuf = uint32_t(-1);
    buffer.minreq = uint32_t(-1);
    buffer.fragsize = uint32_t(-1);
    int error = 0;
    m_stream = pa_simple_new(nullptr, "vestranoli-keyer", PA_STREAM_PLAYBACK, nullptr, "sidetone", &spec, nullptr,
                             &buffer, &error);
    if (!m_stream)
        m_error = QString::fromUtf8(pa_strerror(error));
    return m_stream != nullptr;
}

bool SoundOutput::write(const qint16 *samples, qint64 count)
{
    int error = 0;
    if (pa_simple_write(m_stream, samples, size_t(count) * sizeof(qint16), &error) < 0) {
        m_error = QString::fromUtf8(pa_strerror(error));
        return false;
    }
    return true;
}
