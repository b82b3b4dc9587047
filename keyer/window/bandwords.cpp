// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/bandwords.h"

#include <QStringList>

QString BandWords::presetTitle(const QString &preset)
{
    if (preset == QLatin1String("clean"))
        return tr("clean");
    if (preset == QLatin1String("weak"))
        return tr("weak signal");
    if (preset == QLatin1String("noisy"))
        return tr("noisy band");
    if (preset == QLatin1String("crowded"))
        return tr("crowded band");
    return tr("custom");
}

QString BandWords::fadingRate(double perMinute) const
{
    if (perMinute == slowFadesPerMinute)
        return tr("slow");
    if (perMinute == fastFadesPerMinute)
        return tr("fast");
    return tr("%1 a minute").arg(m_locale.toString(perMinute));
}

QString BandWords::traffic(Traffic traffic)
{
    switch (traffic) {
    case Traffic::Groups:
        return tr("groups");
    case Traffic::Calls:
        return tr("calls");
    case Traffic::Cq:
        break;
    }
    return tr("CQ");
}

QString BandWords::plays(const BandConditions &band) const
{
    if (band.clean())
        return tr("Plays: the clean tone");
    QStringList parts;
    const QString filter = m_locale.toString(band.filterHz);
    if (band.snrDb)
        parts << tr("SNR %1 dB in a %2 Hz filter").arg(m_locale.toString(*band.snrDb), filter);
    else if (band.otherCount > 0)
        parts << tr("no noise, a %1 Hz filter").arg(filter);
    const QString depth = m_locale.toString(band.fadingDb);
    const double rate = band.fadesPerMinute;
    if (band.fadingDb != 0 && (rate == slowFadesPerMinute || rate == fastFadesPerMinute))
        parts << tr("fading %1 dB %2").arg(depth, fadingRate(rate));
    else if (band.fadingDb != 0)
        parts << tr("fading %1 dB, %2 times a minute").arg(depth, m_locale.toString(rate));
    if (band.crashesPerMinute != 0)
        parts << tr("%1 crashes a minute").arg(m_locale.toString(band.crashesPerMinute));
    if (band.otherCount == 1)
        parts << tr("another station");
    else if (band.otherCount > 1)
        parts << tr("%1 other stations").arg(band.otherCount);
    if (band.handSent())
        parts << tr("sent by hand");
    return tr("Plays: %1").arg(parts.join(QLatin1String(", ")));
}
