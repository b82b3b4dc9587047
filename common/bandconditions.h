// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

// What another station on the band sends.
enum class Traffic { Groups, Calls, Cq };

// Another station, heard beside the wanted one.
struct OtherStation {
    double offsetHz = 300; // from the wanted tone, above it or (negative) below
    double levelDb = 0; // its key-down power against the wanted signal's
    int speed = 60; // letters per minute
    Traffic traffic = Traffic::Cq;

    bool operator==(const OtherStation &other) const = default;
};

// The band the software keyer plays the trainer's groups through, each
// setting in a unit that can be measured in what is played. Plain values,
// so that they can be handed to the sound thread as they are.
struct BandConditions {
    static constexpr int maxOthers = 4;

    // The receiver's CW filter, centred on the wanted tone: its width
    // between the -3 dB points.
    double filterHz = 500;
    // The wanted tone's key-down power against the noise's power inside the
    // filter; none: no noise.
    std::optional<double> snrDb;
    // Fading: its depth, the span in dB between the envelope's 10th and
    // 90th percentiles (a Rayleigh channel's is 13.4 dB), and how often the
    // envelope falls through its median, a minute. 0 dB: none.
    double fadingDb = 0;
    double fadesPerMinute = 6;
    // Static crashes: how many a minute, and their peak power against the
    // wanted signal's key-down power (each within 10 dB either side).
    double crashesPerMinute = 0;
    double crashDb = 10;
    std::array<OtherStation, maxOthers> others{};
    int otherCount = 0;
    // The played groups as a hand sends them: each element and gap off by
    // a standard deviation of this much of a dot, and the weight: a dot
    // sounds 2 * weight % of a dot and its gap the rest of two dots
    // (50 % even).
    double jitterPercent = 0;
    double weightPercent = 50;

    bool operator==(const BandConditions &other) const = default;

    // Something of the band is heard: noise, fading, crashes or another
    // station (a hand's fist alone changes only the timing).
    bool heard() const { return snrDb || fadingDb > 0 || crashesPerMinute > 0 || otherCount > 0; }
    bool handSent() const { return jitterPercent != 0 || weightPercent != 50; }
    // Nothing of the band at all: the clean tone, keyed evenly.
    bool clean() const { return !heard() && !handSent(); }

    // One line, "clean" or the settings that are not the default, e.g.
    // "filter=500 snr=3 fading=10/6 crashes=20/10 qrm=+250/0/80/cq
    // jitter=10 weight=55"; read back by fromText.
    QString toText() const;
    static std::optional<BandConditions> fromText(QStringView text, QString *why = nullptr);
};

// The plain fading rates a trainee picks, a minute.
constexpr double slowFadesPerMinute = 6;
constexpr double fastFadesPerMinute = 30;

// The named presets: "clean", "weak", "noisy", "crowded".
QStringList bandPresetNames();
std::optional<BandConditions> bandPreset(QStringView name);
// The preset's name, or empty when the conditions are no preset.
QString bandPresetName(const BandConditions &conditions);

// The settings one at a time, as the command line and the window give them;
// none when out of range. A fading rate is a number a minute, or "slow",
// "fast" (also "lassú", "gyors"); another station is
// OFFSET/LEVEL/SPEED/TRAFFIC, the traffic "groups", "calls" or "cq".
std::optional<double> filterFromText(QStringView text);
std::optional<double> snrFromText(QStringView text);
std::optional<double> fadingDepthFromText(QStringView text);
std::optional<double> fadingRateFromText(QStringView text);
std::optional<double> crashRateFromText(QStringView text);
std::optional<double> crashLevelFromText(QStringView text);
std::optional<OtherStation> otherStationFromText(QStringView text);
std::optional<double> jitterFromText(QStringView text);
std::optional<double> weightFromText(QStringView text);
QString otherStationText(const OtherStation &station);
QString trafficName(Traffic traffic);
