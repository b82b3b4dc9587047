// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wavwriter.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr qint64 headerBytes = 44;
// The RIFF size, 32 bits, counts the data and 36 bytes of header: at 8 kHz
// that is 74 hours.
constexpr qint64 mostDataBytes = 0xFFFFFFFEll - 36;

// Writes all of `size` at the end, or at `at`, as far as it goes: a disk
// that fills up takes part of it first. errno says why it stopped short.
qint64 writeAll(int fd, const char *data, qint64 size, off_t at = -1)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = at < 0 ? ::write(fd, data + done, size_t(size - done))
                                 : ::pwrite(fd, data + done, size_t(size - done), at + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            break;
        }
        done += n;
    }
    return done;
}

} // namespace

WavWriter::~WavWriter()
{
    finish();
}

bool WavWriter::open(const QString &path, int sampleRate)
{
    finish();
    m_path = path;
    m_sampleRate = sampleRate;
    m_dataBytes = 0;
    m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        m_error = errno == ELOOP && QFileInfo(path).isSymLink()
                      ? QStringLiteral("a symbolic link is in its place; not following it")
                      : QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Written at the file's position, which the samples follow; pwrite
    // leaves that where it is.
    const QByteArray first = header();
    return writeAll(m_fd, first.constData(), first.size()) == first.size() || fail(errno);
}

bool WavWriter::write(const qint16 *samples, qint64 count)
{
    if (m_fd < 0 || count <= 0)
        return true;
    QByteArray bytes(count * 2, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i)
        qToLittleEndian(samples[i], bytes.data() + 2 * i);
    const qint64 wanted = qMin<qint64>(bytes.size(), mostDataBytes - m_dataBytes);
    const qint64 written = writeAll(m_fd, bytes.constData(), wanted);
    const int error = written < wanted ? errno : EFBIG;
    m_dataBytes += written & ~qint64(1);
    if (written < bytes.size())
        return fail(error);
    return writeHeader() || fail(errno);
}

// Ends the recording after a failure with what reached the file: the header
// counts it (writing over the header's own bytes needs no room on the disk),
// and a half sample at the end is cut off. Where even that fails (a device
// such as /dev/full), nothing more can be done.
bool WavWriter::fail(int error)
{
    m_error = QString::fromLocal8Bit(std::strerror(error));
    if (writeHeader()) {
        // A file that cannot be cut keeps the half sample after its data,
        // where a reader passes over it.
        [[maybe_unused]] const int cut = ::ftruncate(m_fd, off_t(headerBytes + m_dataBytes));
    }
    ::close(std::exchange(m_fd, -1));
    return false;
}

bool WavWriter::finish()
{
    if (m_fd < 0)
        return true;
    // The header is up to date; only the close itself can still fail (a
    // network file system reports its write errors there).
    const int closed = ::close(std::exchange(m_fd, -1));
    if (closed != 0)
        m_error = QString::fromLocal8Bit(std::strerror(errno));
    return closed == 0;
}

bool WavWriter::writeHeader()
{
    const QByteArray bytes = header();
    return writeAll(m_fd, bytes.constData(), bytes.size(), 0) == bytes.size();
}

QByteArray WavWriter::header() const
{
    const quint32 dataBytes = quint32(m_dataBytes);
    QByteArray header;
    const auto putLe32 = [&header](quint32 v) {
        char bytes[4];
        qToLittleEndian(v, bytes);
        header.append(bytes, 4);
    };
    const auto putLe16 = [&header](quint16 v) {
        char bytes[2];
        qToLittleEndian(v, bytes);
        header.append(bytes, 2);
    };
    header.append("RIFF");
    putLe32(36 + dataBytes);
    header.append("WAVEfmt ");
    putLe32(16);
    putLe16(1); // PCM
    putLe16(1); // mono
    putLe32(quint32(m_sampleRate));
    putLe32(quint32(m_sampleRate) * 2);
    putLe16(2);
    putLe16(16);
    header.append("data");
    putLe32(dataBytes);
    return header;
}
