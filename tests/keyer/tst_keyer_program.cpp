// SPDX-License-Identifier: GPL-3.0-or-later
// vestranoli-keyer as a program, with the test playing the trainer on its
// pseudo-terminal: its command line, the handshake with one trainer after
// another, the pace of a copy run, the keyed-back reports, the --link (and
// the band's file beside it) and --wav, the band heard in what it plays, and
// the sound through PulseAudio and PipeWire.

#include "common/frames.h"
#include "common/morsetable.h"
#include "dialogue/options.h"
#include "keyerprocess.h"
#include "soundserver.h"
#include "wavrecording.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

class ProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void command_line_data();
    void command_line();
    void trainers_come_and_go_in_real_time();
    void auto_echo_sends_each_report_alone();
    void the_band_is_heard_in_the_groups_played_alone();
    void link_is_made_and_removed();
    void seconds_of_garbage_are_said_in_a_few_lines();
    void plays_through_a_sound_server_data();
    void plays_through_a_sound_server();
};

void ProgramTest::command_line_data()
{
    // What a line gives: the action, and for a run the settings it sets.
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("outcome");
    const QString defaults = QStringLiteral("run speed 60 pause 50 tone 600 errors 0 iambic B");
    QTest::newRow("nothing") << "" << defaults;
    QTest::newRow("all set") << "--speed 40 --pause 0 --tone 800 --error-rate 0.5 --iambic a --headless"
                             << "run speed 40 pause 0 tone 800 errors 0.5 iambic A";
    QTest::newRow("limits") << "--speed 10 --pause 255 --tone 2000 --error-rate 1 --iambic B"
                            << "run speed 10 pause 255 tone 2000 errors 1 iambic B";
    QTest::newRow("the other limits") << "--speed 99 --pause 0 --tone 200 --error-rate 0"
                                      << "run speed 99 pause 0 tone 200 errors 0 iambic B";
    QTest::newRow("a key adapter") << "--key-device /dev/ttyUSB1" << defaults + " key /dev/ttyUSB1 CTS";
    QTest::newRow("paddles, inverted") << "--key-device /dev/k --key-lines paddles --key-invert"
                                       << defaults + " key /dev/k CTS,DSR inverted";
    QTest::newRow("paddles on lines named")
        << "--key-device /dev/k --key-lines dsr,DCD" << defaults + " key /dev/k DSR,DCD";
    QTest::newRow("a straight key on RI") << "--key-device /dev/k --key-lines RI" << defaults + " key /dev/k RI";
    QTest::newRow("a preset, two of its settings changed") << "--band weak --snr -5 --fading-rate fast --band-seed 7"
                                                           << defaults + " band filter=500 snr=-5 fading=10/30 seed 7";
    QTest::newRow("stations in place of the preset's")
        << "--band crowded --qrm -400/-6/50/groups" << defaults + " band filter=2400 snr=15 qrm=-400/-6/50/groups";
    QTest::newRow("settings over the clean band")
        << "--filter 250 --crashes 20 --crash-level -10 --jitter 10 --weight 55"
        << defaults + " band filter=250 crashes=20/-10 jitter=10 weight=55";
    QTest::newRow("--help") << "--speed 40 --help"
                            << "help";
    QTest::newRow("--version") << "--version"
                               << "version";
    for (const char *bad :
         {"--speed 9", "--speed 100", "--speed 40.5", "--pause 256", "--tone 199", "--tone 2001", "--error-rate 1.1",
          "--iambic X", "--wav=", "--link=", "--bogus", "stray", "--key-device=", "--char-speed 9", "--char-speed 40.5",
          "--key-lines CTS", "--key-device /dev/k --key-lines CTS,CTS", "--key-device /dev/k --key-lines TXD",
          "--key-device /dev/k --key-lines CTS,DSR,DCD"})
        QTest::newRow(bad) << bad << "refuse";
    for (const char *bad :
         {"--band stormy", "--snr 41", "--filter 99", "--fading 31", "--fading-rate 0", "--crashes 601",
          "--crash-level 31", "--qrm 0/0/60/rtty", "--jitter 51", "--weight 24", "--band-seed 0"})
        QTest::newRow(bad) << bad << "refuse";
    QTest::newRow("five other stations") << QString(" --qrm 300/0/60/cq").repeated(5) << "refuse";
}

void ProgramTest::command_line()
{
    QFETCH(QString, arguments);
    QFETCH(QString, outcome);
    const KeyerCommandLine line = parseKeyerCommandLine(QStringList{"vestranoli-keyer"}
                                                        + arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    const KeyerOptions &o = line.options;
    const QString got = QStringList{"run", "help", "version", "refuse"}[line.action];
    const QString band = (o.band.clean() ? "" : " band " + o.band.toText())
                         + (o.bandSeed ? QStringLiteral(" seed %1").arg(o.bandSeed) : "");
    const KeyLineMap &k = o.keyLines;
    const QString key = o.keyDevice.isEmpty()
                            ? QString()
                            : QStringLiteral(" key %1 %2").arg(o.keyDevice, modemLineName(k.straightOrDot))
                                  + (k.paddles ? "," + modemLineName(k.dash) : "") + (k.invert ? " inverted" : "");
    QCOMPARE(line.action != KeyerCommandLine::Run ? got
                                                  : QStringLiteral("run speed %1 pause %2 tone %3 errors %4 iambic %5")
                                                            .arg(o.speed)
                                                            .arg(o.pause)
                                                            .arg(o.tone)
                                                            .arg(o.errorRate)
                                                            .arg(o.iambic == IambicKeyer::Mode::A ? "A" : "B")
                                                        + key + band,
             outcome);
    QCOMPARE(o.headless, arguments.contains(QLatin1String("--headless")));
    // Help, the version and a refusal each say something; a run says nothing.
    QCOMPARE(line.message.isEmpty(), line.action == KeyerCommandLine::Run);
}

void ProgramTest::trainers_come_and_go_in_real_time()
{
    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("played.wav"));
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--headless", "--wav", wavPath, "--key-device", dir.filePath("key")}));
    QElapsedTimer clock;
    {
        // Announced once a second until answered. The first trainer
        // starts a group, due to be done in 1.5 s, and quits.
        TrainerLine first;
        QVERIFY(first.open(keyer.device()) && first.waitFor("x", 1, 3000));
        clock.start();
        QVERIFY(first.waitFor("x", 2, 3000));
        QVERIFY2(clock.elapsed() >= 800, qPrintable(QString::number(clock.elapsed())));
        first.send(handshakeReply() + pauseFrame(100) + copyStartFrame() + groupFrame(u"EE"));
        QVERIFY(keyer.waitForError("the trainer answered"));
    }
    QVERIFY(keyer.waitForError("the trainer closed the line"));

    // The next one is announced to afresh, and hears nothing of the first
    // one's group: its own "OK", when T and two seconds of pause are over,
    // is all that comes.
    TrainerLine next;
    QVERIFY(next.open(keyer.device()) && next.waitFor("x", 1, 3000));
    next.send(handshakeReply());
    QVERIFY(QTest::qWaitFor([&] { return keyer.errors().count("the trainer answered") == 2; }, 5000));
    next.takeReceived();
    clock.restart();
    next.send(pauseFrame(200) + copyStartFrame() + groupFrame(u"T"));
    QVERIFY(next.waitFor("OK\r\n"));
    QVERIFY2(clock.elapsed() >= 2250 && clock.elapsed() < 3500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(next.received(), QByteArray("OK\r\n"));
    // A key adapter not plugged in is said once, not at every look for it.
    QCOMPARE(keyer.errors().count("the key adapter " + dir.filePath("key").toUtf8() + " is not there"), 1);
    keyer.process.kill(); // outright: the header counts all but the block being written, if any
    QVERIFY(keyer.process.waitForFinished(5000));
    const QByteArray bytes = readFile(wavPath);
    const qint64 beyond = bytes.size() - 8 - qFromLittleEndian<quint32>(bytes.constData() + 4);
    QVERIFY(beyond >= 0 && beyond <= 4096 && QFile::resize(wavPath, bytes.size() - beyond));

    // Played in real time by the sound thread, and still sample-exact: the
    // T is one dash of three dots.
    const WavRecording wav = readWav(wavPath);
    const std::vector<ToneRun> runs = toneRuns(wav, 16383 / 2, wav.sampleRate / 600 + 1);
    QVERIFY(!runs.empty());
    QCOMPARE_LE(qAbs(runs.back().length() - wav.sampleRate * 0.3), wav.sampleRate / 1200 + 2);
}

void ProgramTest::auto_echo_sends_each_report_alone()
{
    // Letters, accents, a digit and signs.
    const QString group = QStringLiteral("PARIS\u00C1\u00C9\u00D6\u00DC0?@");
    QTemporaryDir dir;
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--fast", "--headless", "--auto-echo", "--wav", dir.filePath("played.wav")}));
    TrainerLine trainer;
    QVERIFY(answerKeyer(keyer, trainer));
    const rlimit diskFull{4000, 4000}; // the recording's disk fills up at 4000 bytes
    QVERIFY(prlimit(pid_t(keyer.process.processId()), RLIMIT_FSIZE, &diskFull, nullptr) == 0);

    trainer.send(speedFrame(u"70") + echoStartFrame() + groupFrame(group));
    QVERIFY(trainer.waitFor("V", int(group.size())));
    // Every report is a read of its own, and together they key the group.
    QList<QByteArray> expected;
    for (QChar c : group)
        for (QChar letter : elementsOf(c) + QLatin1Char('V'))
            expected << QByteArray(1, letter.toLatin1());
    QCOMPARE(trainer.reads(), expected);
    // Then it rests: its event loop sleeps rather than spinning on.
    QVERIFY(QTest::qWaitFor([&] { return keyer.stat().value(1) == "S"; }));
    QVERIFY(keyer.stop() && !trainer.received().contains("OK"));
    QCOMPARE(keyer.errors().count("cannot write the recording"), 1); // said once, and the recording whole:
    QCOMPARE(readWav(dir.filePath("played.wav")).samples.size(), size_t(4000 - 44) / 2);
}

void ProgramTest::the_band_is_heard_in_the_groups_played_alone()
{
    QTemporaryDir dir;
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--fast", "--headless", "--auto-echo", "--band", "noisy", "--band-seed", "3", "--wav",
                         dir.filePath("played.wav")}));
    TrainerLine trainer;
    QVERIFY(answerKeyer(keyer, trainer));
    // A copy group through the band, then an echo group keyed back clean.
    trainer.send(speedFrame(u"60") + copyStartFrame() + groupFrame(u"TEST"));
    QVERIFY(trainer.waitFor("OK"));
    trainer.send(echoStartFrame() + groupFrame(u"TEST"));
    QVERIFY(trainer.waitFor("V", 4));
    QVERIFY(keyer.stop());
    const std::vector<qint16> samples = readWav(dir.filePath("played.wav")).samples;
    const qint64 second = 8000;
    QVERIFY(qint64(samples.size()) > 6 * second);
    const auto silent = [&](qint64 from, qint64 to) {
        return std::count(samples.begin() + from, samples.begin() + to, qint16(0));
    };
    // The band's hiss fills the copy group's gaps; the keying back has true silence between its tones.
    QCOMPARE_LT(silent(0, 2 * second), second / 100);
    QCOMPARE_GT(silent(qint64(samples.size()) - 2 * second, qint64(samples.size())), second / 2);
}

void ProgramTest::link_is_made_and_removed()
{
    // Made, removed at the end; a stale link of a killed keyer is replaced;
    // a file that is no link is left alone, and the keyer does not run.
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("keyer"));
    for (const QString &before : {QString(), QStringLiteral("/dev/null")}) {
        QVERIFY(before.isEmpty() || QFile::link(before, link));
        KeyerProcess keyer;
        QVERIFY(keyer.start({"--fast", "--headless", "--link", link, "--band", "weak"}));
        QVERIFY(keyer.waitForError("fast mode"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), keyer.device());
        // Beside it, the band for the trainer.
        QCOMPARE(readFile(link + ".conditions"),
                 "device " + keyer.device().toUtf8() + "\nband filter=500 snr=3 fading=10/6\n");
        // A session leader, it keeps its line from becoming its terminal.
        QCOMPARE(keyer.stat().value(5), "0"); // tty_nr
        // Each of its threads asks to run at once when it wakes (a short
        // slice), where the kernel says what it granted.
        const QString tasks = QStringLiteral("/proc/%1/task").arg(keyer.process.processId());
        for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QByteArray sched = readFile(tasks + '/' + task + "/sched");
            const qsizetype at = sched.indexOf("se.slice");
            if (at >= 0)
                QCOMPARE(sched.mid(at).split('\n').first().split(':').last().trimmed(), "100000");
        }
        // Its "x" comes once it ends on a signal as it should, not before.
        TrainerLine line;
        QVERIFY(line.open(link) && line.waitFor("x"));
        QVERIFY(keyer.stop() && !QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
        QVERIFY(!QFileInfo::exists(link + ".conditions"));
        QVERIFY2(!keyer.errors().contains("cannot"), keyer.errors().constData()); // no complaint at a clean end
    }
    {
        // A second keyer on the same link takes it over; the first, ending,
        // leaves the second's link alone.
        KeyerProcess first, second;
        QVERIFY(first.start({"--fast", "--headless", "--link", link}));
        QVERIFY(second.start({"--fast", "--headless", "--link", link}));
        QVERIFY(first.stop());
        QCOMPARE(QFileInfo(link).symLinkTarget(), second.device());
        QCOMPARE(readFile(link + ".conditions"), "device " + second.device().toUtf8() + "\nband clean\n");
        QVERIFY(second.stop());
    }
    QVERIFY(QFile(link).open(QIODevice::WriteOnly)); // an empty file
    QVERIFY(QFile::link(link, link + ".wav")); // planted where a recording goes
    for (const QStringList &refused : {QStringList{"--link", link}, {"--wav", link + ".wav"}, {"--wav", "/dev/full"}}) {
        KeyerProcess keyer;
        QVERIFY(!keyer.start(QStringList{"--headless"} + refused));
        QCOMPARE(keyer.process.exitCode(), 1);
    }
    QVERIFY(QFileInfo(link).isFile() && QFileInfo(link).size() == 0);
}

void ProgramTest::seconds_of_garbage_are_said_in_a_few_lines()
{
    // A wrong device or a noisy adapter: random bytes as fast as they are taken, escape sequences in a group.
    KeyerProcess keyer;
    TrainerLine trainer;
    QVERIFY(keyer.start({"--fast", "--headless"}) && answerKeyer(keyer, trainer));
    trainer.send("<r><\x1b[2J\x1b]0;X\x07>");
    QProcess noise;
    noise.start("sh", {"-c", "timeout 3 cat /dev/urandom >" + keyer.device()});
    QVERIFY(QTest::qWaitFor([&] { return noise.state() == QProcess::NotRunning; }, 10000) && keyer.stop());
    const QByteArray said = keyer.errors();
    QVERIFY2(said.contains("in the group \"\\x1b[2J\\x1b]0;X\\x07\"") && said.size() < 8000 && !said.contains('\x1b'),
             said.left(2000).constData());
}

void ProgramTest::plays_through_a_sound_server_data()
{
    QTest::addColumn<QString>("server");
    QTest::newRow("PulseAudio") << "PulseAudio";
    // On PipeWire the keyer chooses for itself: PipeWire's own stream where
    // PipeWire's thread calls it at real-time priority (here, as root, the
    // thread raises itself). Without rtkit and without that right, it would
    // call the keyer at ordinary priority: PipeWire's PulseAudio service then.
    QTest::newRow("PipeWire") << "PipeWire";
    QTest::newRow("PipeWire, no real-time") << "PipeWire, no real-time";
}

void ProgramTest::plays_through_a_sound_server()
{
    // A server of the test's own, with a null sink: the keyer plays a group
    // through it in real time without falling silent (on PipeWire, recorded
    // sample-exact in its --wav); when the server goes and comes back, it
    // plays on silently and then through it again.
    QFETCH(QString, server);
    QTemporaryDir dir;
    SoundServer sound(server, dir.path());
    if (const QString why = sound.start(); !why.isEmpty())
        QSKIP(qPrintable(why));
    KeyerProcess keyer;
    keyer.process.setProcessEnvironment(sound.env);
    keyer.withoutRealTime = server.endsWith(QLatin1String("no real-time"));
    // On PulseAudio it runs as the launcher starts it, without a recording.
    const QString wavPath = dir.filePath(QStringLiteral("played.wav"));
    QVERIFY(keyer.start(server == QLatin1String("PulseAudio") ? QStringList{"--headless"}
                                                              : QStringList{"--headless", "--wav", wavPath}));
    TrainerLine trainer;
    QVERIFY(answerKeyer(keyer, trainer));
    const QString proc = QStringLiteral("/proc/%1").arg(keyer.process.processId());
    const auto ticks = [&] {
        const auto stat = keyer.stat();
        return stat.value(12).toLongLong() + stat.value(13).toLongLong();
    };
    // A group played, and its two dots of 100 ms heard at the server: each
    // within a tenth of its length, a silence between them longer than one
    // inside a letter (E, a gap between letters, E), no more than the two, at
    // least half a dot of tone in all, nothing louder than the tone (as a rate
    // converted badly would be); and the keyer asleep meanwhile, spinning on no
    // timer (under 30 ticks of 10 ms on a core). Whole tones and exact gaps are
    // the --wav's to show here, and at the server the playback benchmark's: on
    // some machines a server started a moment ago, or its recorder, misses a
    // period or more inside a tone (PipeWire's own stream and its recorder, quiet, one run in three).
    const auto played = [&](const QByteArray &frames, int oks) {
        const qint64 ticksBefore = ticks();
        QProcess recorder;
        WavRecording heard{48000, {}};
        std::vector<ToneRun> tones;
        size_t second = 0; // the first run of the second dot
        const auto twoTones = [&] {
            const QByteArray bytes = recorder.readAllStandardOutput();
            const auto *first = reinterpret_cast<const qint16 *>(bytes.constData());
            heard.samples.insert(heard.samples.end(), first, first + bytes.size() / 2);
            tones = toneRuns(heard, 16383 / 2, 48000 / 600 + 1);
            for (second = 1; second < tones.size() && tones[second].start - tones[second - 1].end < 2 * 4800;)
                ++second;
            return second < tones.size() && qint64(heard.samples.size()) > tones[second].start + 2 * 4800;
        };
        // The sink's monitor, through PipeWire's own recorder where the keyer
        // plays on PipeWire's own stream; at real-time priority as root, since
        // a recorder held up on a busy machine loses a period of what it heard.
        QStringList record
            = server == QLatin1String("PipeWire")
                  ? QStringList{"pw-record", "--target", "test",       "-P", "{ stream.capture.sink = true }",
                                "--rate",    "48000",    "--channels", "1",  "-"}
                  : QStringList{"parecord",
                                "--raw",
                                "--format=s16le",
                                "--rate=48000",
                                "--channels=1",
                                "--latency-msec=10",
                                "--device=test.monitor"};
        if (geteuid() == 0)
            record = QStringList{"chrt", "-f", "20"} + record;
        recorder.setProcessEnvironment(sound.env);
        recorder.start(record.takeFirst(), record);
        // Half a second heard before the group: the graph has settled with it.
        QVERIFY(QTest::qWaitFor([&] { return recorder.bytesAvailable() > 48000; }, 5000));
        trainer.send(frames);
        QVERIFY(trainer.waitFor("OK\r\n", oks, 10000));
        const bool inTime = QTest::qWaitFor(twoTones, 5000);
        const qint64 busy = ticks() - ticksBefore;
        QString runs = QStringLiteral("%1 ticks busy;").arg(busy);
        qint64 toneHeard = 0;
        for (const ToneRun &run : tones) {
            runs += QStringLiteral(" %1+%2").arg(run.start).arg(run.length());
            toneHeard += run.length();
        }
        QVERIFY2(inTime && tones[second - 1].end - tones.front().start <= 4800 + 480 && busy < 30
                     && tones.back().end - tones[second].start <= 4800 + 480 && toneHeard >= 2400
                     && std::ranges::max(heard.samples) - std::ranges::min(heard.samples) < 40000,
                 qPrintable(runs));
    };
    int oks = 0;
    played(pauseFrame(30) + copyStartFrame() + groupFrame(u"EE"), ++oks);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!keyer.errors().contains("silently") && !keyer.errors().contains("lost"), keyer.errors().constData());
    if (server.startsWith(QLatin1String("PipeWire"))) {
        QByteArray stream;
        QVERIFY(QTest::qWaitFor([&] { return !(stream = sound.keyerStream()).isEmpty(); }, 10000));
        QVERIFY2(stream.contains(R"("client.api":"pipewire-pulse")") == keyer.withoutRealTime, stream.constData());
    }
    if (server == QLatin1String("PulseAudio")) {
        // Nothing to play for a while: the keyer's stream leaves the server
        // with nothing to do, and the next group brings it back, heard whole.
        const auto streams = [&] {
            const std::optional<QByteArray> listed = sound.tool("pactl", {"list", "short", "sink-inputs"});
            return listed ? int(listed->count('\n')) : -1;
        };
        // At rest, none of its threads wakes or runs: each wake-up and each
        // tick (10 ms) of its time on a core counts.
        const auto activity = [&] {
            qint64 count = ticks();
            for (const QString &task : QDir(proc + "/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                for (const QByteArray &line : readFile(proc + "/task/" + task + "/status").split('\n'))
                    count += line.contains("ctxt_switches:") ? line.split('\t').last().toLongLong() : 0;
            }
            return count;
        };
        QCOMPARE(streams(), 1);
        QVERIFY(QTest::qWaitFor([&] { return streams() == 0; }, 15000));
        const qint64 restingSince = activity();
        const bool active = QTest::qWaitFor([&] { return activity() - restingSince >= 10; }, 1000);
        QVERIFY2(!active, qPrintable(QString::number(activity() - restingSince)));
        played(groupFrame(u"EE"), ++oks);
        if (QTest::currentTestFailed())
            return;
    }
    // The server goes: said once, and the keyer plays on silently.
    const qsizetype filesOpen = QDir(proc + "/fd").entryList(QDir::System).size();
    sound.stop();
    trainer.send(groupFrame(u"EE"));
    QVERIFY(trainer.waitFor("OK\r\n", ++oks, 10000));
    // It comes back: the keyer finds it again by itself and says so; its tries left no file open.
    QCOMPARE(sound.start(), QString());
    QVERIFY2(keyer.waitForError("the sound output is back", 15000), keyer.errors().constData());
    played(groupFrame(u"EE"), ++oks); // on a stream that starts later on the keyer's clock
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(QDir(proc + "/fd").entryList(QDir::System).size(), filesOpen);
    QVERIFY(keyer.stop());
    QVERIFY2(keyer.errors().count("playing silently") == 1 && !keyer.errors().contains("cannot"),
             keyer.errors().constData());
    if (server == QLatin1String("PulseAudio"))
        return;
    // Two dots of 100 ms a group: through the server, silently, through it again.
    const WavRecording wav = readWav(wavPath);
    const std::vector<ToneRun> runs = toneRuns(wav, 16383 / 2, wav.sampleRate / 600 + 1);
    QCOMPARE(runs.size(), size_t(2 * oks));
    for (const ToneRun &run : runs)
        QCOMPARE_LE(qAbs(run.length() - wav.sampleRate / 10), wav.sampleRate / 1200 + 2);
}

QTEST_GUILESS_MAIN(ProgramTest)
#include "tst_keyer_program.moc"
