// SPDX-License-Identifier: GPL-3.0-or-later
#include "wavrecording.h"

#include <QFile>
#include <QtEndian>

WavRecording readWav(const QString &path)
{
    WavRecording wav;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return wav;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 8) != "WAVEfmt ")
        return wav;
    const auto u16 = [&](int at) {
        return qFromLittleEndian<quint16>(bytes.constData() + at);
    };
    const auto u32 = [&](int at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    };
    // The sizes in the header must be those of the file: a player trusts them.
    if (u16(20) != 1 || u16(22) != 1 || u16(34) != 16 || bytes.mid(36, 4) != "data" || u32(4) != bytes.size() - 8
        || u32(40) != bytes.size() - 44)
        return wav;
    const qint64 dataBytes = bytes.size() - 44;
    wav.sampleRate = int(u32(24));
    wav.samples.resize(size_t(dataBytes / 2));
    for (size_t i = 0; i < wav.samples.size(); ++i)
        wav.samples[i] = qFromLittleEndian<qint16>(bytes.constData() + 44 + 2 * i);
    return wav;
}

std::vector<ToneRun> toneRuns(const WavRecording &wav, int threshold, qint64 maxDip)
{
    std::vector<ToneRun> runs;
    for (qint64 i = 0; i < qint64(wav.samples.size()); ++i) {
        if (qAbs(int(wav.samples[size_t(i)])) <= threshold)
            continue;
        if (!runs.empty() && i - runs.back().end <= maxDip)
            runs.back().end = i + 1;
        else
            runs.push_back({i, i + 1});
    }
    return runs;
}
