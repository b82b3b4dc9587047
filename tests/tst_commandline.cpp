// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/options.h"
#include "history/history.h"
#include "link/serialportchoice.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void runs_on_the_default_folder_and_port();
    void program_answers_data();
    void program_answers();
    void program_runs_without_a_keyer();
    void statistics_of_a_folder_they_cannot_write();
    void port_one_data();
    void port_one();
};

// Without options: the default folder, and the port the trainer finds at the start.
void CommandLineTest::runs_on_the_default_folder_and_port()
{
    const CommandLine line = parseCommandLine({"vestranoli"});
    QCOMPARE(line.action, CommandLine::Run);
    QCOMPARE(line.options.dataDir + '|' + line.options.portName, defaultDataDir() + '|');
}

void CommandLineTest::program_answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutHas");
    QTest::addColumn<int>("stderrLines");
    QTest::addColumn<bool>("display");

    QTest::newRow("help needs no display") << QStringList{"--help"} << 0 << "--data-dir DIR" << 0 << false;
    QTest::newRow("empty HOME: the password database's")
        << QStringList{"HOME=", "--help"} << 0 << QString(getpwuid(getuid())->pw_dir) + "/Kelinor\n"
        << 0 << false;
    QTest::newRow("home at the root: refused") << QStringList{"HOME=/"} << 2 << "" << 1 << true;
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "" << 1 << true;
    QTest::newRow("port without a device") << QStringList{"--port"} << 2 << "" << 1 << true;
    QTest::newRow("stray argument") << QStringList{"ini.txt"} << 2 << "" << 1 << true;
    QTest::newRow("no display, one line") << QStringList{} << 1 << "" << 1 << false;
    QTest::newRow("a display that cannot be opened, one line")
        << QStringList{"-platform", "nonexistent"} << 1 << "" << 1 << false;
    QTest::newRow("statistics without a history")
        << QStringList{"--stats", "--text", "--data-dir", "/nonexistent"} << 0 << "Még nincs előzmény" << 0 << true;
    QTest::newRow("statistics of a bad span") << QStringList{"--stats", "--days", "-1"} << 2 << "" << 1 << true;
}

void CommandLineTest::program_answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutHas);
    QFETCH(int, stderrLines);
    QFETCH(bool, display);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(display ? QString() : QLatin1String(name));
    if (arguments.value(0).startsWith("HOME="))
        environment.insert("HOME", arguments.takeFirst().mid(5));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VESTRANOLI_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).contains(stdoutHas));
    // Qt may add its own lines about the runtime directory; ours start with the name.
    QCOMPARE(int(program.readAllStandardError().count("vestranoli: ")), stderrLines);
}

void CommandLineTest::program_runs_without_a_keyer()
{
    // Started as a trainee would: one line on why there is no keyer, and the
    // window stays up until it is closed. Root runs it as nobody, on its line.
    QTemporaryDir dir;
    const QString device = getuid() == 0 ? dir.filePath("keyer") : "/nonexistent";
    QProcess program;
    if (getuid() == 0) {
        QVERIFY(QFile(device).open(QIODevice::WriteOnly) && QFile::setPermissions(device, QFile::ReadOwner));
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777))); // for its files
        program.setChildProcessModifier([] {
            if (setgid(65534) || setuid(65534))
                _exit(127);
        });
    }
    const auto end = qScopeGuard([&] {
        program.kill();
        program.waitForFinished(5000);
    });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VESTRANOLI_PROGRAM), {"--data-dir", dir.path(), "--port", device});
    QByteArray errors;
    QVERIFY(QTest::qWaitFor(
        [&] {
            errors += program.readAllStandardError();
            return errors.contains("going on without a keyer") || program.state() == QProcess::NotRunning;
        },
        20000));
    QVERIFY2(program.state() == QProcess::Running, errors.constData());
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("morse.txt"))));
    QCOMPARE(int(errors.count("vestranoli: ")), 1);
    QVERIFY2(getuid() != 0 || errors.contains("belongs to the user root"), errors.constData());
}

void CommandLineTest::statistics_of_a_folder_they_cannot_write()
{
    // A WAL history, as the trainer leaves it, where no -shm file can be made; root reads it as nobody.
    QTemporaryDir dir;
    {
        History history;
        QVERIFY(history.open(dir.filePath("history.sqlite")));
        history.recordEchoGroup({QDateTime::currentDateTimeUtc(), "T", "T", true, 60, 1, 50});
    }
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x5555)));
    const auto writable = qScopeGuard([&] { QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700)); });
    QProcess program;
    program.setChildProcessModifier([] {
        if (getuid() == 0 && (setgid(65534) || setuid(65534)))
            _exit(127);
    });
    program.start(QStringLiteral(VESTRANOLI_PROGRAM), {"--stats", "--text", "--data-dir", dir.path()});
    QVERIFY(program.waitForFinished(20000));
    QVERIFY2(program.exitCode() == 0, program.readAllStandardError().constData());
    QVERIFY(program.readAllStandardOutput().contains("\nT        1      1   100 %"));
}

void CommandLineTest::port_one_data()
{
    QTest::addColumn<QString>("devices"); // made in a fake /dev; "name>target" is a link
    QTest::addColumn<QString>("chosen");

    QTest::newRow("no adapter: ttyS0, there or not") << "ttyS1"
                                                     << "ttyS0";
    QTest::newRow("ttyUSB before ttyACM before ttyS0") << "ttyS0 ttyACM0 ttyUSB1"
                                                       << "ttyUSB1";
    QTest::newRow("ttyACM before ttyS0, by number") << "ttyS0 ttyACM10 ttyACM2"
                                                    << "ttyACM2";
    QTest::newRow("stable name first, a gone adapter's skipped")
        << "ttyUSB0 serial/by-id/usb-b>../../ttyUSB0 serial/by-id/usb-a>../../ttyUSB7"
        << "serial/by-id/usb-b";
}

void CommandLineTest::port_one()
{
    QFETCH(QString, devices);
    QFETCH(QString, chosen);

    QTemporaryDir dev;
    QVERIFY(QDir(dev.path()).mkpath("serial/by-id"));
    for (const QString &entry : devices.split(' ')) {
        const QStringList link = entry.split('>');
        QFile device(dev.filePath(link[0]));
        QVERIFY(link.size() == 2 ? QFile::link(link[1], device.fileName()) : device.open(QIODevice::WriteOnly));
    }
    QCOMPARE(firstSerialPort(dev.path()).device, dev.filePath(chosen));
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
