#include "common/version.h"
#include "window/options.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

const char helpText[] =
    "Usage: vestranoli [options]\n"
    "Morse-code trainer for a keyer on a serial line (9600 baud, 8N1).\n"
    "\n"
    "  --data-dir DIR   keep ini.txt and morse.txt in DIR instead of %1\n"
    "  --port DEVICE    talk to the keyer on DEVICE instead of serial port 1\n"
    "                   (%2)\n"
    "  --stats          show the statistics of the training history in a window\n"
    "  --stats --text   print them as a table instead [--days N: the last N days]\n"
    "  --help           show this text\n"
    "  --version        show the version\n";

} // namespace

QString defaultDataDir()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/Kelinor");
#else
    return QDir::homePath() + QStringLiteral("/Kelinor");
#endif
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("DEVICE"));
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({dataDir, port, help, version});

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Refuse;
        result.message = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = CommandLine::Refuse;
        result.message = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return result;
    }
    if (parser.isSet(help)) {
#ifdef Q_OS_WIN
        const QString firstPort = QStringLiteral("COM1");
#else
        const QString firstPort = QStringLiteral("the first USB serial adapter, else /dev/ttyS0");
#endif
        result.action = CommandLine::ShowHelp;
        result.message = QString::fromLatin1(helpText).arg(QDir::toNativeSeparators(defaultDataDir()), firstPort);
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::ShowVersion;
        result.message = QStringLiteral("vestranoli " VESTRANOLI_VERSION);
        return result;
    }
    result.options.dataDir = parser.isSet(dataDir) ? parser.value(dataDir) : defaultDataDir();
    result.options.portName = parser.value(port);
    return result;
}
