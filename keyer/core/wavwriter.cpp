#include "core/wavwriter.h"

#include <QtEndian>

namespace {

void putLe32(QByteArray &out, quint32 v)
{
    char bytes[4];
    qToLittleEndian(v, bytes);
    out.append(bytes, 4);
}

void putLe16(QByteArray &out, quint16 v)
{
    char bytes[2];
    qToLittleEndian(v, bytes);
    out.append(bytes, 2);
}

} // namespace

WavWriter::~WavWriter()
{
    finish();
}

bool WavWriter::open(const QString &path, int sampleRate)
{
    m_file.setFileName(path);
    m_sampleRate = sampleRate;
    m_samples = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    writeHeader();
    return true;
}

void WavWriter::write(const qint16 *samples, qint64 count)
{
    if (!m_file.isOpen() || count <= 0)
        return;
    QByteArray bytes(count * 2, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i)
        qToLittleEndian(samples[i], bytes.data() + 2 * i);
    m_file.write(bytes);
    m_samples += count;
}

void WavWriter::flush()
{
    if (!m_file.isOpen())
        return;
    writeHeader();
    m_file.flush();
}

void WavWriter::finish()
{
    if (!m_file.isOpen())
        return;
    flush();
    m_file.close();
}

void WavWriter::writeHeader()
{
    const quint32 dataBytes = quint32(qMin<qint64>(m_samples * 2, 0xFFFFFFF0u - 36));
    QByteArray header;
    header.append("RIFF");
    putLe32(header, 36 + dataBytes);
    header.append("WAVEfmt ");
    putLe32(header, 16);
    putLe16(header, 1); // PCM
    putLe16(header, 1); // mono
    putLe32(header, quint32(m_sampleRate));
    putLe32(header, quint32(m_sampleRate) * 2);
    putLe16(header, 2);
    putLe16(header, 16);
    header.append("data");
    putLe32(header, dataBytes);

    const qint64 end = m_file.pos();
    m_file.seek(0);
    m_file.write(header);
    m_file.seek(qMax<qint64>(end, header.size()));
}
