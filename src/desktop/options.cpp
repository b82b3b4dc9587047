// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/options.h"

#include "common/commandline.h"
#include "common/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

const char helpText[]
    = QT_TRANSLATE_NOOP("CommandLine", "Usage: vestranoli [options]\n"
                                       "Morse-code trainer for a keyer on a serial line (9600 baud, 8N1).\n"
                                       "\n"
                                       "  --data-dir DIR   keep ini.txt and morse.txt in DIR instead of %1\n"
                                       "  --port DEVICE    talk to the keyer on DEVICE instead of serial port 1\n"
                                       "                   (%2)\n"
                                       "  --stats          show the statistics of the training history in a window\n"
                                       "  --stats --text   print them as a table instead [--days N: the last N days]\n"
                                       "  --score-copy     score a copy run: type what you copied, see it checked\n"
                                       "  --course         where you stand in the Koch course; take the next lesson\n"
                                       "  --help           show this text\n"
                                       "  --version        show the version\n");

#ifndef Q_OS_WIN
// $HOME, or where HOME is unset or empty (a service, "env -i", "su" without
// a login) the password database's home: Qt answers the root there. The root
// when neither names one.
QString homeFolder()
{
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty()) {
        if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir)
            home = QFile::decodeName(user->pw_dir);
    }
    return home.isEmpty() ? QDir::rootPath() : QDir::cleanPath(home);
}
#endif

} // namespace

QString defaultDataDir()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/Kelinor");
#else
    return QDir(homeFolder()).filePath(QStringLiteral("Kelinor"));
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
    auto refuse = [&result](const QString &why) {
        result.action = CommandLine::Refuse;
        result.message = why;
        return result;
    };
    if (const std::optional<QString> why = refusedCommandLine(parser, arguments))
        return refuse(*why);
    if (parser.isSet(help)) {
#ifdef Q_OS_WIN
        const QString firstPort = QStringLiteral("COM1");
#else
        const QString firstPort
            = QCoreApplication::translate("CommandLine", "the first USB serial adapter, else /dev/ttyS0");
#endif
        result.action = CommandLine::ShowHelp;
        result.message = QCoreApplication::translate("CommandLine", helpText)
                             .arg(QDir::toNativeSeparators(defaultDataDir()), firstPort);
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::ShowVersion;
        result.message = QStringLiteral("vestranoli " VESTRANOLI_VERSION);
        return result;
    }
    // Not at the root of the file system, where a trainer run as root would
    // leave its files among the system's.
    if (parser.isSet(dataDir) && QDir(QDir::cleanPath(parser.value(dataDir))).isRoot())
        return refuse(QCoreApplication::translate(
            "CommandLine", "--data-dir wants a folder of its own, not the root of the file system."));
#ifndef Q_OS_WIN
    if (!parser.isSet(dataDir) && QDir(homeFolder()).isRoot())
        return refuse(QCoreApplication::translate(
            "CommandLine", "no home folder to keep Kelinor in; choose a folder with --data-dir DIR."));
#endif
    result.options.dataDir = parser.isSet(dataDir) ? parser.value(dataDir) : defaultDataDir();
    result.options.portName = parser.value(port);
    return result;
}
