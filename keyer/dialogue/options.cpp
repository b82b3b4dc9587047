// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogue/options.h"
#include "common/commandline.h"
#include "common/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const char helpText[] = QT_TRANSLATE_NOOP(
    "KeyerCommandLine", "Usage: vestranoli-keyer [options]\n"
                        "A software Morse keyer for the Vestranoli trainer. It opens a pseudo-terminal,\n"
                        "prints the device of its far end on the first line, and plays the keyer's\n"
                        "side of the line: the groups of a copy run are played as Morse, and the\n"
                        "groups of an echo run are keyed back with the space bar (straight key) or\n"
                        "with the paddles (left and right Ctrl, or \"[\" and \"]\"; \".\" and \"-\" key one\n"
                        "dot or dash), in the window's key area or with the mouse.\n"
                        "\n"
                        "  --link PATH        also make PATH a symbolic link to the device, and keep the band\n"
                        "                     for the trainer in PATH.conditions (both removed on exit)\n"
                        "  --auto-echo        key every echo group back by itself\n"
                        "  --error-rate P     with --auto-echo, key each character wrong with chance P (0 to 1)\n"
                        "  --fast             no real-time waits and no sound (for tests and demos)\n"
                        "  --headless         no window\n"
                        "  --wav FILE         write everything played to FILE (16-bit mono WAV)\n"
                        "  --tone HZ          sidetone pitch, 200 to 2000 (default 600)\n"
                        "  --speed N          letters per minute until the trainer sends a speed (default 60)\n"
                        "  --char-speed N     play characters at N letters per minute, the gaps stretched so\n"
                        "                     that the groups come at the trainer's speed (Farnsworth)\n"
                        "  --pause N          hundredths of a second after a group until the trainer sends\n"
                        "                     a pause (default 50)\n"
                        "  --iambic A|B       paddle mode: A stops with the element that sounds when a\n"
                        "                     squeeze is let go, B keys one more (default B)\n"
                        "  --key-device DEVICE\n"
                        "                     also key with a straight key or paddles wired to the modem\n"
                        "                     lines of the serial adapter DEVICE (DTR and RTS raised as\n"
                        "                     their supply)\n"
                        "  --key-lines LINES  straight (a key on CTS, the default), paddles (dot on CTS,\n"
                        "                     dash on DSR), one of CTS, DSR, DCD, RI for a straight key,\n"
                        "                     or two joined by a comma for the dot and dash paddles\n"
                        "  --key-invert       a line that is off means the key is down\n"
                        "  --band PRESET      play the groups through a band: clean (the default), weak,\n"
                        "                     noisy or crowded; the options below change its settings\n"
                        "  --snr DB           noise, the tone's power against it in the filter (-20 to 40)\n"
                        "  --filter HZ        the receiver's CW filter, 100 to 3000 Hz wide (500)\n"
                        "  --fading DB        fading this deep, 0 (none) to 30\n"
                        "  --fading-rate N    fades a minute, 1 to 120, or slow (6) or fast (30)\n"
                        "  --crashes N        static crashes a minute, 0 to 600\n"
                        "  --crash-level DB   their peak against the tone, -10 to 30 (10)\n"
                        "  --qrm OFFSET/LEVEL/SPEED/TRAFFIC\n"
                        "                     another station: Hz from the tone (-1000 to 1000), dB against\n"
                        "                     it (-30 to 20), letters per minute (20 to 250), and groups,\n"
                        "                     calls or cq; up to 4, given again for each\n"
                        "  --jitter PCT       the played groups sent by hand: each element off by this much\n"
                        "                     of a dot, 0 to 50\n"
                        "  --weight PCT       a dot's share of a dot and its gap, 25 to 75 (50)\n"
                        "  --band-seed N      the same noise and stations at each start (N above 0)\n"
                        "  --help             show this text\n"
                        "  --version          show the version\n"
                        "\n"
                        "Start the trainer with: vestranoli --port DEVICE (or the --link PATH).\n");

bool numberIn(const QString &text, double low, double high, double *value)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && *value >= low && *value <= high;
}

// A setting of the band given over its preset: the option, its reading,
// what it sets, and the refusal of a value it does not take.
struct BandSetting {
    QString name;
    std::optional<double> (*fromText)(QStringView);
    void (*set)(BandConditions &, double);
    const char *refusal;
};

QList<BandSetting> settingsOverAPreset()
{
    return {
        {QStringLiteral("snr"), snrFromText, [](BandConditions &b, double v) { b.snrDb = v; },
         QT_TRANSLATE_NOOP("KeyerCommandLine", "--snr wants a number of dB from -20 to 40.")},
        {QStringLiteral("filter"), filterFromText, [](BandConditions &b, double v) { b.filterHz = v; },
         QT_TRANSLATE_NOOP("KeyerCommandLine", "--filter wants a width from 100 to 3000 Hz.")},
        {QStringLiteral("fading"), fadingDepthFromText, [](BandConditions &b, double v) { b.fadingDb = v; },
         QT_TRANSLATE_NOOP("KeyerCommandLine", "--fading wants a depth from 0 to 30 dB.")},
        {QStringLiteral("fading-rate"), fadingRateFromText, [](BandConditions &b, double v) { b.fadesPerMinute = v; },
         QT_TRANSLATE_NOOP("KeyerCommandLine", "--fading-rate wants slow, fast or 1 to 120 fades a minute.")},
        {QStringLiteral("crashes"), crashRateFromText, [](BandConditions &b, double v) { b.crashesPerMinute = v; },
         QT_TRANSLATE_NOOP("KeyerCommandLine", "--crashes wants 0 to 600 crashes a minute.")},
        {QStringLiteral("crash-level"), crashLevelFromText, [](BandConditions &b, double v) { b.crashDb = v; },
         QT_TRANSLATE_NOOP("KeyerCommandLine", "--crash-level wants a number of dB from -10 to 30.")},
        {QStringLiteral("jitter"), jitterFromText, [](BandConditions &b, double v) { b.jitterPercent = v; },
         QT_TRANSLATE_NOOP("KeyerCommandLine", "--jitter wants a percentage from 0 to 50.")},
        {QStringLiteral("weight"), weightFromText, [](BandConditions &b, double v) { b.weightPercent = v; },
         QT_TRANSLATE_NOOP("KeyerCommandLine", "--weight wants a percentage from 25 to 75.")},
    };
}

} // namespace

KeyerCommandLine parseKeyerCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption link(QStringLiteral("link"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption autoEcho(QStringLiteral("auto-echo"));
    const QCommandLineOption errorRate(QStringLiteral("error-rate"), QString(), QStringLiteral("P"));
    const QCommandLineOption fast(QStringLiteral("fast"));
    const QCommandLineOption headless(QStringLiteral("headless"));
    const QCommandLineOption wav(QStringLiteral("wav"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption tone(QStringLiteral("tone"), QString(), QStringLiteral("HZ"));
    const QCommandLineOption speed(QStringLiteral("speed"), QString(), QStringLiteral("N"));
    const QCommandLineOption pause(QStringLiteral("pause"), QString(), QStringLiteral("N"));
    const QCommandLineOption charSpeed(QStringLiteral("char-speed"), QString(), QStringLiteral("N"));
    const QCommandLineOption iambic(QStringLiteral("iambic"), QString(), QStringLiteral("MODE"));
    const QCommandLineOption keyDevice(QStringLiteral("key-device"), QString(), QStringLiteral("DEVICE"));
    const QCommandLineOption keyLines(QStringLiteral("key-lines"), QString(), QStringLiteral("LINES"));
    const QCommandLineOption keyInvert(QStringLiteral("key-invert"));
    const QCommandLineOption band(QStringLiteral("band"), QString(), QStringLiteral("PRESET"));
    const QCommandLineOption qrm(QStringLiteral("qrm"), QString(), QStringLiteral("STATION"));
    const QCommandLineOption bandSeed(QStringLiteral("band-seed"), QString(), QStringLiteral("N"));
    const QList<BandSetting> bandSettings = settingsOverAPreset();
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({link, autoEcho, errorRate, fast, headless, wav, tone, speed, charSpeed, pause, iambic, keyDevice,
                       keyLines, keyInvert, band, qrm, bandSeed, help, version});
    for (const BandSetting &setting : bandSettings)
        parser.addOption(QCommandLineOption(setting.name, QString(), QStringLiteral("VALUE")));

    KeyerCommandLine result;
    auto refuse = [&result](const QString &why) {
        result.action = KeyerCommandLine::Refuse;
        result.message = why;
        return result;
    };
    if (const std::optional<QString> why = refusedCommandLine(parser, arguments))
        return refuse(*why);
    if (parser.isSet(help)) {
        result.action = KeyerCommandLine::ShowHelp;
        result.message = QCoreApplication::translate("KeyerCommandLine", helpText);
        return result;
    }
    if (parser.isSet(version)) {
        result.action = KeyerCommandLine::ShowVersion;
        result.message = QStringLiteral("vestranoli-keyer " VESTRANOLI_VERSION);
        return result;
    }

    KeyerOptions &o = result.options;
    o.link = parser.value(link);
    o.autoEcho = parser.isSet(autoEcho);
    o.fast = parser.isSet(fast);
    o.headless = parser.isSet(headless);
    o.wav = parser.value(wav);
    // An empty name would mean no recording or no link without a word.
    if (parser.isSet(link) && o.link.isEmpty())
        return refuse(QCoreApplication::translate("KeyerCommandLine", "--link wants a path."));
    if (parser.isSet(wav) && o.wav.isEmpty())
        return refuse(QCoreApplication::translate("KeyerCommandLine", "--wav wants a file name."));
    double value = 0;
    if (parser.isSet(errorRate)) {
        if (!numberIn(parser.value(errorRate), 0, 1, &value))
            return refuse(QCoreApplication::translate("KeyerCommandLine", "--error-rate wants a number from 0 to 1."));
        o.errorRate = value;
    }
    if (parser.isSet(tone)) {
        if (!numberIn(parser.value(tone), 200, 2000, &value))
            return refuse(QCoreApplication::translate("KeyerCommandLine", "--tone wants a pitch from 200 to 2000 Hz."));
        o.tone = value;
    }
    if (parser.isSet(speed)) {
        if (!numberIn(parser.value(speed), 10, 99, &value) || value != int(value))
            return refuse(
                QCoreApplication::translate("KeyerCommandLine", "--speed wants a whole number from 10 to 99."));
        o.speed = int(value);
    }
    if (parser.isSet(charSpeed)) {
        if (!numberIn(parser.value(charSpeed), 10, 200, &value) || value != int(value))
            return refuse(
                QCoreApplication::translate("KeyerCommandLine", "--char-speed wants a whole number from 10 to 200."));
        o.charSpeed = int(value);
    }
    if (parser.isSet(pause)) {
        if (!numberIn(parser.value(pause), 0, 255, &value) || value != int(value))
            return refuse(
                QCoreApplication::translate("KeyerCommandLine", "--pause wants a whole number from 0 to 255."));
        o.pause = int(value);
    }
    if (parser.isSet(iambic)) {
        const QString mode = parser.value(iambic).toUpper();
        if (mode != QLatin1String("A") && mode != QLatin1String("B"))
            return refuse(QCoreApplication::translate("KeyerCommandLine", "--iambic wants A or B."));
        o.iambic = mode == QLatin1String("A") ? IambicKeyer::Mode::A : IambicKeyer::Mode::B;
    }
    o.keyDevice = parser.value(keyDevice);
    if (parser.isSet(keyDevice) && o.keyDevice.isEmpty())
        return refuse(QCoreApplication::translate("KeyerCommandLine", "--key-device wants a device."));
    if ((parser.isSet(keyLines) || parser.isSet(keyInvert)) && o.keyDevice.isEmpty())
        return refuse(
            QCoreApplication::translate("KeyerCommandLine", "--key-lines and --key-invert go with --key-device."));
    if (parser.isSet(keyLines)) {
        const auto map = keyLineMapFromText(parser.value(keyLines));
        if (!map)
            return refuse(QCoreApplication::translate("KeyerCommandLine",
                                                      "--key-lines wants straight, paddles, a line (CTS, DSR, "
                                                      "DCD, RI) or two different lines joined by a comma."));
        o.keyLines = *map;
    }
    o.keyLines.invert = parser.isSet(keyInvert);

    // The preset first, then each setting given over it.
    if (parser.isSet(band)) {
        const auto preset = bandPreset(parser.value(band));
        if (!preset)
            return refuse(
                QCoreApplication::translate("KeyerCommandLine", "--band wants clean, weak, noisy or crowded."));
        o.band = *preset;
    }
    for (const BandSetting &setting : bandSettings) {
        if (!parser.isSet(setting.name))
            continue;
        const std::optional<double> number = setting.fromText(parser.value(setting.name));
        if (!number)
            return refuse(QCoreApplication::translate("KeyerCommandLine", setting.refusal));
        setting.set(o.band, *number);
    }
    if (parser.isSet(qrm)) {
        // The stations given take the preset's place.
        const QStringList stations = parser.values(qrm);
        if (stations.size() > BandConditions::maxOthers)
            return refuse(QCoreApplication::translate("KeyerCommandLine", "--qrm is given at most %1 times.")
                              .arg(BandConditions::maxOthers));
        o.band.others = {};
        o.band.otherCount = 0;
        for (const QString &text : stations) {
            const std::optional<OtherStation> station = otherStationFromText(text);
            if (!station)
                return refuse(QCoreApplication::translate("KeyerCommandLine",
                                                          "--qrm wants OFFSET/LEVEL/SPEED/TRAFFIC: -1000 to 1000 Hz, "
                                                          "-30 to 20 dB, 20 to 250 letters per minute, and groups, "
                                                          "calls or cq."));
            o.band.others[size_t(o.band.otherCount++)] = *station;
        }
    }
    if (parser.isSet(bandSeed)) {
        bool ok = false;
        o.bandSeed = parser.value(bandSeed).toULongLong(&ok);
        if (!ok || o.bandSeed == 0)
            return refuse(QCoreApplication::translate("KeyerCommandLine", "--band-seed wants a whole number above 0."));
    }
    return result;
}
