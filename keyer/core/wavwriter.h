// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Writes 16-bit mono PCM to a WAV file.
//
// The header's two sizes are written again after every block of samples,
// the samples first: whenever and however the program ends (a kill -9, a
// full disk), the file is a valid WAV of what was written, but for the last
// block should it end between the two writes. A block is what the keyer has
// played since the last one, a few milliseconds in real time, so this costs
// one pwrite of 44 bytes into a page in the cache every few milliseconds;
// writing the header only every so often would leave that much more out of
// a recording cut short.
//
// It writes with write(2) and pwrite(2) rather than QFile, whose buffer puts
// a full disk off to a later call, or to none. The first failure closes the
// recording whole: its header counts the samples that reached the file, and
// a half sample is cut off.
class WavWriter
{
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter &) = delete;
    WavWriter &operator=(const WavWriter &) = delete;

    // Creates or empties `path` and writes the header. A symbolic link in its
    // place is not followed: it may have been planted in a shared folder.
    bool open(const QString &path, int sampleRate);
    bool isOpen() const { return m_fd >= 0; }
    QString path() const { return m_path; }
    // Why open(), write() or finish() failed.
    QString errorString() const { return m_error; }

    // False when the samples could not all be written; the recording is
    // closed then, and later writes do nothing.
    bool write(const qint16 *samples, qint64 count);
    bool finish();

private:
    QByteArray header() const;
    bool writeHeader();
    bool fail(int error);

    int m_fd = -1;
    QString m_path;
    QString m_error;
    int m_sampleRate = 0;
    qint64 m_dataBytes = 0;
};
