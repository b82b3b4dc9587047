// vestranoli-keyer as a program, with the test playing the trainer on its
// pseudo-terminal: the handshake, the pace of a copy run, groups in their
// turn, bad bytes, the keyed-back reports, and the --link.

#include "common/frames.h"
#include "common/morsetable.h"
#include "keyerprocess.h"
#include "wavrecording.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class ProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void handshake_then_a_copy_group_in_real_time();
    void groups_wait_their_turn();
    void bad_bytes_are_noted_and_skipped();
    void auto_echo_sends_each_report_alone_data();
    void auto_echo_sends_each_report_alone();
    void the_next_trainer_gets_a_fresh_keyer();
    void link_is_made_and_removed();
};

void ProgramTest::handshake_then_a_copy_group_in_real_time()
{
    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("played.wav"));
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--headless", "--wav", wavPath}));
    TrainerLine trainer;
    QVERIFY(trainer.open(keyer.device()));

    // Announced once a second until answered.
    QVERIFY(trainer.waitFor("x", 1, 3000));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(trainer.waitFor("x", 2, 3000));
    QVERIFY2(clock.elapsed() >= 800, qPrintable(QString::number(clock.elapsed())));
    trainer.send(handshakeReply());
    QVERIFY(keyer.waitForError("the trainer answered"));
    trainer.takeReceived();

    // "EE" at speed 60 is 500 ms of Morse, then 0.3 s of pause: the "OK"
    // comes when the sound is over, not before, and it is all that comes.
    clock.restart();
    trainer.send(pauseFrame(30) + copyStartFrame() + groupFrame(u"EE"));
    QVERIFY(trainer.waitFor("OK\r\n", 1, 5000));
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= 750 && took < 2000, qPrintable(QString::number(took)));
    QCOMPARE(trainer.received(), QByteArray("OK\r\n"));
    QVERIFY(keyer.stop());

    // Played in real time by the sound thread, and still sample-exact: two
    // dots with three dots between them.
    const WavRecording wav = readWav(wavPath);
    const double dot = wav.sampleRate * 0.1;
    const std::vector<ToneRun> runs = toneRuns(wav, 16383 / 2, wav.sampleRate / 600 + 1);
    QCOMPARE(decodeGroups(runs, dot, 7), QStringList({"EE"}));
    const double slack = wav.sampleRate / 600.0 / 2 + 2;
    for (const qint64 length : {runs[0].length(), runs[1].length(), (runs[1].start - runs[0].end) / 3})
        QVERIFY2(qAbs(length - dot) <= slack, qPrintable(QString::number(length)));
}

void ProgramTest::groups_wait_their_turn()
{
    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("played.wav"));
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--fast", "--headless", "--wav", wavPath}));
    TrainerLine trainer;
    QVERIFY(answerKeyer(keyer, trainer));

    // Three groups in one go, an empty one among them; a second of pause.
    trainer.send(pauseFrame(100) + copyStartFrame() + groupFrame(u"TM") + groupFrame(u"") + groupFrame(u"EI5"));
    QVERIFY(trainer.waitFor("OK\r\n", 3));
    QCOMPARE(trainer.received(), QByteArray("OK\r\nOK\r\nOK\r\n"));
    QVERIFY(keyer.stop());

    const WavRecording wav = readWav(wavPath);
    const double dot = wav.sampleRate * 0.1;
    const std::vector<ToneRun> runs = toneRuns(wav, 16383 / 2, wav.sampleRate / 600 + 1);
    QCOMPARE(decodeGroups(runs, dot, 7), QStringList({"TM", "EI5"}));
    // Between them the pause of each group: the empty one has its own.
    const double between = double(runs[3].start - runs[2].end) / wav.sampleRate; // T, M: three tones
    QVERIFY2(qAbs(between - 2.0) < 0.01, qPrintable(QString::number(between)));
}

void ProgramTest::bad_bytes_are_noted_and_skipped()
{
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--fast", "--headless"}));
    TrainerLine trainer;
    QVERIFY(trainer.open(keyer.device()));
    QVERIFY(trainer.waitFor("x"));
    trainer.send(handshakeReply() + "hello" + "<AB" + copyStartFrame() + "<y>" + "<u9" + groupFrame(u"E"));
    QVERIFY(trainer.waitFor("OK\r\n"));
    QVERIFY(keyer.waitForError("\"<y>\""));
    const QByteArray errors = keyer.errors();
    QVERIFY2(errors.contains("\"hello\"") && errors.contains("\"<AB\"") && errors.contains("\"<u9\""),
             errors.constData());
    QVERIFY(keyer.stop());
}

void ProgramTest::auto_echo_sends_each_report_alone_data()
{
    QTest::addColumn<QString>("group");
    QTest::newRow("letters") << "PARIS";
    QTest::newRow("accents, digits, signs") << QStringLiteral("\u00C1\u00C9\u00D6\u00DC0?@");
}

void ProgramTest::auto_echo_sends_each_report_alone()
{
    QFETCH(QString, group);
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--fast", "--headless", "--auto-echo"}));
    TrainerLine trainer;
    QVERIFY(answerKeyer(keyer, trainer));

    trainer.send(speedFrame(u"70") + echoStartFrame() + groupFrame(group));
    QVERIFY(trainer.waitFor("V", int(group.size())));
    // Every report is a read of its own, and together they key the group.
    QString keyed;
    for (const QByteArray &read : trainer.reads()) {
        QVERIFY2(read == "R" || read == "H" || read == "V", read.constData());
        keyed += QLatin1String(read);
    }
    QString expected;
    for (QChar c : group)
        expected += elementsOf(c) + QLatin1Char('V');
    QCOMPARE(keyed, expected);
    QVERIFY(keyer.stop());
    QVERIFY(!trainer.received().contains("OK"));
}

void ProgramTest::the_next_trainer_gets_a_fresh_keyer()
{
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--headless"}));
    {
        // The first trainer starts a group, due to be done in 1.5 s, and quits.
        TrainerLine first;
        QVERIFY(first.open(keyer.device()));
        QVERIFY(first.waitFor("x", 1, 3000));
        first.send(handshakeReply() + pauseFrame(100) + copyStartFrame() + groupFrame(u"EE"));
        QVERIFY(keyer.waitForError("the trainer answered"));
    }
    QVERIFY(keyer.waitForError("the trainer closed the line"));

    // The next one is announced to afresh, and hears nothing of the first
    // one's group: its own "OK", due later, is the first that comes.
    TrainerLine next;
    QVERIFY(next.open(keyer.device()));
    QVERIFY(next.waitFor("x", 1, 3000));
    next.send(handshakeReply());
    QVERIFY(QTest::qWaitFor([&] { return keyer.errors().count("the trainer answered") == 2; }, 5000));
    next.takeReceived();
    QElapsedTimer clock;
    clock.start();
    next.send(pauseFrame(200) + copyStartFrame() + groupFrame(u"T"));
    QVERIFY(next.waitFor("OK\r\n", 1, 5000));
    // T and two seconds of pause: an "OK" sooner is the first trainer's.
    QVERIFY2(clock.elapsed() >= 2000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(next.received(), QByteArray("OK\r\n"));
    QVERIFY(keyer.stop());
}

void ProgramTest::link_is_made_and_removed()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("keyer"));
    {
        KeyerProcess keyer;
        QVERIFY(keyer.start({"--fast", "--headless", "--link", link}));
        QCOMPARE(QFileInfo(link).symLinkTarget(), keyer.device());
        QVERIFY(keyer.stop());
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
    }
    {
        // A stale link of a killed keyer is replaced.
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), link));
        KeyerProcess keyer;
        QVERIFY(keyer.start({"--fast", "--headless", "--link", link}));
        QCOMPARE(QFileInfo(link).symLinkTarget(), keyer.device());
        QVERIFY(keyer.stop());
    }
    {
        // A file that is no link is left alone, and the keyer does not run.
        QFile file(link);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        KeyerProcess keyer;
        QVERIFY(!keyer.start({"--fast", "--headless", "--link", link}));
        QCOMPARE(keyer.process.state(), QProcess::NotRunning);
        QCOMPARE(keyer.process.exitCode(), 1);
        QVERIFY(QFileInfo(link).isFile());
    }
}

QTEST_GUILESS_MAIN(ProgramTest)
#include "tst_keyer_program.moc"
