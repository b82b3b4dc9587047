#pragma once

#include <QString>
#include <QtGlobal>

struct pa_simple;

// The sound server, as a stream of 16-bit mono samples with a small buffer:
// write() blocks until the server has room, so whoever writes is paced by
// the sound itself, and a sample written is heard within the buffer's time.
class SoundOutput
{
public:
    SoundOutput() = default;
    ~SoundOutput();
    SoundOutput(const SoundOutput &) = delete;
    SoundOutput &operator=(const SoundOutput &) = delete;

    bool open(int sampleRate, int bufferMs);
    bool write(const qint16 *samples, qint64 count);
    QString errorString() const { return m_error; }

private:
    pa_simple *m_stream = nullptr;
    QString m_error;
};
