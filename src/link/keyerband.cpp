// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/keyerband.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The file holds two short lines; anything much longer is not the keyer's.
constexpr qint64 longestFile = 4096;

// The band the file's text names, for `device` (not empty) alone.
std::optional<BandConditions> keyerBandFromText(const QByteArray &text, const QString &device)
{
    QString named;
    std::optional<BandConditions> band;
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("device ")))
            named = trimmed.mid(7).trimmed();
        else if (trimmed.startsWith(QLatin1String("band ")))
            band = BandConditions::fromText(QStringView(trimmed).mid(5));
    }
    if (named != device)
        return std::nullopt;
    return band;
}

} // namespace

QString keyerBandPath(const QString &port)
{
    return port + QStringLiteral(".conditions");
}

std::optional<BandConditions> keyerBand(const QString &port)
{
    if (port.isEmpty())
        return std::nullopt;
    // A link that leads nowhere (the keyer is gone) has no canonical path.
    const QString device = QFileInfo(port).canonicalFilePath();
    QFile file(keyerBandPath(port));
    if (device.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return keyerBandFromText(file.read(longestFile), device);
}
