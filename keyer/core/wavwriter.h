#pragma once

#include <QFile>
#include <QString>

// Writes 16-bit mono PCM to a WAV file. The header's sizes are brought up to
// date by flush() and when the file is finished, so that a recording can be
// read whole as soon as the writer is gone.
class WavWriter
{
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter &) = delete;
    WavWriter &operator=(const WavWriter &) = delete;

    bool open(const QString &path, int sampleRate);
    bool isOpen() const { return m_file.isOpen(); }
    QString errorString() const { return m_file.errorString(); }

    void write(const qint16 *samples, qint64 count);
    void flush();
    void finish();

private:
    void writeHeader();

    QFile m_file;
    int m_sampleRate = 0;
    qint64 m_samples = 0;
};
