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
                        "  --link PATH        also make PATH a symbolic link to the device (removed on exit)\n"
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
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({link, autoEcho, errorRate, fast, headless, wav, tone, speed, charSpeed, pause, iambic, keyDevice,
                       keyLines, keyInvert, help, version});

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
    return result;
}
