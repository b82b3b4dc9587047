// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/bandconditions.h"

#include <QCoreApplication>

namespace {

std::optional<double> numberIn(QStringView text, double low, double high)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

QString signedNumber(double value)
{
    return value >= 0 ? QLatin1Char('+') + number(value) : number(value);
}

BandConditions weakSignal()
{
    BandConditions band;
    band.snrDb = 3;
    band.fadingDb = 10;
    band.fadesPerMinute = slowFadesPerMinute;
    return band;
}

BandConditions noisyBand()
{
    BandConditions band;
    band.snrDb = 0;
    band.fadingDb = 6;
    band.fadesPerMinute = 12;
    band.crashesPerMinute = 20;
    band.crashDb = 10;
    return band;
}

BandConditions crowdedBand()
{
    BandConditions band;
    band.filterHz = 2400;
    band.snrDb = 15;
    band.others = {OtherStation{250, 0, 80, Traffic::Cq}, OtherStation{-400, -6, 50, Traffic::Groups},
                   OtherStation{700, 3, 100, Traffic::Calls}};
    band.otherCount = 3;
    return band;
}

} // namespace

QString BandConditions::toText() const
{
    if (clean())
        return QStringLiteral("clean");
    QStringList parts{QStringLiteral("filter=") + number(filterHz)};
    if (snrDb)
        parts << QStringLiteral("snr=") + number(*snrDb);
    if (fadingDb != 0)
        parts << QStringLiteral("fading=%1/%2").arg(number(fadingDb), number(fadesPerMinute));
    if (crashesPerMinute != 0)
        parts << QStringLiteral("crashes=%1/%2").arg(number(crashesPerMinute), number(crashDb));
    for (int i = 0; i < otherCount; ++i)
        parts << QStringLiteral("qrm=") + otherStationText(others[size_t(i)]);
    if (jitterPercent != 0)
        parts << QStringLiteral("jitter=") + number(jitterPercent);
    if (weightPercent != 50)
        parts << QStringLiteral("weight=") + number(weightPercent);
    return parts.join(QLatin1Char(' '));
}

std::optional<BandConditions> BandConditions::fromText(QStringView text, QString *why)
{
    BandConditions band;
    const auto refuse = [why](QStringView part) -> std::optional<BandConditions> {
        if (why)
            *why = QCoreApplication::translate("BandConditions", "not a band setting: %1").arg(part);
        return std::nullopt;
    };
    const auto parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QStringView part : parts) {
        if (part == u"clean" && parts.size() == 1)
            break;
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        if (equals < 0)
            return refuse(part);
        const QStringView key = part.left(equals);
        const QStringView value = part.mid(equals + 1);
        const auto pair = value.split(QLatin1Char('/'));
        bool ok = true;
        if (key == u"filter") {
            const auto filter = filterFromText(value);
            ok = filter.has_value();
            band.filterHz = filter.value_or(band.filterHz);
        } else if (key == u"snr") {
            band.snrDb = snrFromText(value);
            ok = band.snrDb.has_value();
        } else if (key == u"fading" && pair.size() == 2) {
            const auto depth = fadingDepthFromText(pair[0]);
            const auto rate = fadingRateFromText(pair[1]);
            ok = depth && rate;
            band.fadingDb = depth.value_or(0);
            band.fadesPerMinute = rate.value_or(band.fadesPerMinute);
        } else if (key == u"crashes" && pair.size() == 2) {
            const auto rate = crashRateFromText(pair[0]);
            const auto level = crashLevelFromText(pair[1]);
            ok = rate && level;
            band.crashesPerMinute = rate.value_or(0);
            band.crashDb = level.value_or(band.crashDb);
        } else if (key == u"qrm" && band.otherCount < BandConditions::maxOthers) {
            const auto station = otherStationFromText(value);
            ok = station.has_value();
            if (station)
                band.others[size_t(band.otherCount++)] = *station;
        } else if (key == u"jitter") {
            const auto jitter = jitterFromText(value);
            ok = jitter.has_value();
            band.jitterPercent = jitter.value_or(0);
        } else if (key == u"weight") {
            const auto weight = weightFromText(value);
            ok = weight.has_value();
            band.weightPercent = weight.value_or(50);
        } else {
            ok = false;
        }
        if (!ok)
            return refuse(part);
    }
    return band;
}

QStringList bandPresetNames()
{
    return {QStringLiteral("clean"), QStringLiteral("weak"), QStringLiteral("noisy"), QStringLiteral("crowded")};
}

std::optional<BandConditions> bandPreset(QStringView name)
{
    if (name == u"clean")
        return BandConditions{};
    if (name == u"weak")
        return weakSignal();
    if (name == u"noisy")
        return noisyBand();
    if (name == u"crowded")
        return crowdedBand();
    return std::nullopt;
}

QString bandPresetName(const BandConditions &conditions)
{
    for (const QString &name : bandPresetNames()) {
        if (bandPreset(name) == conditions)
            return name;
    }
    return {};
}

std::optional<double> filterFromText(QStringView text)
{
    return numberIn(text, 100, 3000);
}

std::optional<double> snrFromText(QStringView text)
{
    return numberIn(text, -20, 40);
}

std::optional<double> fadingDepthFromText(QStringView text)
{
    return numberIn(text, 0, 30);
}

std::optional<double> fadingRateFromText(QStringView text)
{
    if (text == u"slow" || text == u"lassú")
        return slowFadesPerMinute;
    if (text == u"fast" || text == u"gyors")
        return fastFadesPerMinute;
    return numberIn(text, 1, 120);
}

std::optional<double> crashRateFromText(QStringView text)
{
    return numberIn(text, 0, 600);
}

std::optional<double> crashLevelFromText(QStringView text)
{
    return numberIn(text, -10, 30);
}

std::optional<OtherStation> otherStationFromText(QStringView text)
{
    const auto parts = text.split(QLatin1Char('/'));
    if (parts.size() != 4)
        return std::nullopt;
    const auto offset = numberIn(parts[0], -1000, 1000);
    const auto level = numberIn(parts[1], -30, 20);
    const auto speed = numberIn(parts[2], 20, 250);
    std::optional<Traffic> traffic;
    for (Traffic kind : {Traffic::Groups, Traffic::Calls, Traffic::Cq}) {
        if (parts[3] == trafficName(kind))
            traffic = kind;
    }
    if (!offset || !level || !speed || !traffic)
        return std::nullopt;
    return OtherStation{*offset, *level, int(*speed), *traffic};
}

std::optional<double> jitterFromText(QStringView text)
{
    return numberIn(text, 0, 50);
}

std::optional<double> weightFromText(QStringView text)
{
    return numberIn(text, 25, 75);
}

QString otherStationText(const OtherStation &station)
{
    return QStringLiteral("%1/%2/%3/%4")
        .arg(signedNumber(station.offsetHz), number(station.levelDb), QString::number(station.speed),
             trafficName(station.traffic));
}

QString trafficName(Traffic traffic)
{
    switch (traffic) {
    case Traffic::Groups:
        return QStringLiteral("groups");
    case Traffic::Calls:
        return QStringLiteral("calls");
    case Traffic::Cq:
        break;
    }
    return QStringLiteral("cq");
}
