// SPDX-License-Identifier: GPL-3.0-or-later
// Keying back by hand in the keyer's window: the space bar and the mouse as
// a straight key, Ctrl, "[" "]", "." and "-" as paddles, reported to the
// trainer's end of the line only in an echo run and only while a group
// counts, a breath before the next group, a group left unfinished completed
// for the trainer, the review of each group, the band chosen, and the window
// following the line and the sound server.

#include "common/frames.h"
#include "core/monotonicclock.h"
#include "dialogue/keyer.h"
#include "fakelines.h"
#include "keyerprocess.h"
#include "keys/eventstamp.h"
#include "keys/keyadapter.h"
#include "keys/keyinput.h"
#include "line/bandfile.h"
#include "line/ptyline.h"
#include "sound/player.h"
#include "soundserver.h"
#include "wavrecording.h"
#include "window/banddialog.h"
#include "window/keyarea.h"
#include "window/keyerwindow.h"
#include "window/reviewlist.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class KeysTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void an_event_is_stamped_with_its_own_time_when_handled_late_data();
    void an_event_is_stamped_with_its_own_time_when_handled_late();
    void straight_key_reported_only_in_an_echo_run();
    void a_late_character_is_not_reported();
    void paddles_key_whole_elements_and_repeat();
    void the_window_s_key_area_and_tone_box();
    void a_band_chosen_in_the_window_plays_and_is_told();
    void a_group_left_unfinished_is_completed();
    void a_key_adapter_shows_its_lines();
    void the_trainer_leaves();
    void the_window_shows_the_sound();

private:
    // Holds for at least `ms`, keeping the event loop running; key() holds
    // the space bar down that long.
    static void hold(int ms);
    void key(int ms);
    // The texts of the window's labels, one a line.
    QString shown() const;
    // Waits for `count` reports after those seen already; all that came.
    QStringList reports(int count);
    // Sends a group and waits until it has sounded: the trainee's turn.
    void playGroup(const QString &group);

    QTemporaryDir dir;
    SoundServer sound{QStringLiteral("PulseAudio"), dir.path()}; // started by the last test only
    KeyerOptions options;
    PtyLine line;
    std::unique_ptr<Player> player;
    std::unique_ptr<KeyInput> keys;
    std::unique_ptr<Keyer> keyer;
    std::unique_ptr<KeyerWindow> window;
    std::unique_ptr<KeyAdapter> adapter;
    TrainerLine trainer;
    qsizetype seen = 0;
};

void KeysTest::initTestCase()
{
    QVERIFY(line.open());
    qputenv("PULSE_SERVER", sound.env.value(QStringLiteral("PULSE_SERVER")).toLocal8Bit());
    player = std::make_unique<Player>(Player::Pace::RealTime, 600);
    QVERIFY(player->start(dir.filePath(QStringLiteral("heard.wav"))));
    keys = std::make_unique<KeyInput>(100);
    keyer = std::make_unique<Keyer>(options, line, *player, *keys);
    window = std::make_unique<KeyerWindow>(*keyer, *player, *keys, line.devicePath());
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(trainer.open(line.devicePath()));
    keyer->start();
    QVERIFY(trainer.waitFor("x"));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("open; waiting")); }, 5000));
    trainer.send(handshakeReply());
    QVERIFY(QTest::qWaitFor([&] { return keyer->connected(); }, 5000));
    trainer.takeReceived();
}

void KeysTest::cleanupTestCase()
{
    // The trainee heard the keying: besides the four tones of the keyer's
    // one group the recording holds at least five keyed by hand (some of
    // the ten run into each other or into the group).
    window.reset();
    adapter.reset();
    keyer.reset();
    player.reset();
    const WavRecording wav = readWav(dir.filePath(QStringLiteral("heard.wav")));
    const qsizetype tones = qsizetype(toneRuns(wav, 16383 / 2, wav.sampleRate / 600 + 1).size());
    QVERIFY2(tones >= 4 + 5, qPrintable(QString::number(tones)));
}

void KeysTest::hold(int ms)
{
    QElapsedTimer clock;
    clock.start();
    QVERIFY(QTest::qWaitFor([&] { return clock.elapsed() >= ms; }, ms + 5000));
}

QString KeysTest::shown() const
{
    QString texts;
    for (const QLabel *label : window->findChildren<QLabel *>())
        texts += label->text() + QLatin1Char('\n');
    const auto *reviews = window->findChild<ReviewList *>();
    return texts + (reviews ? reviews->text() : QStringLiteral("<no reviews>"));
}

void KeysTest::key(int ms)
{
    QTest::keyPress(window.get(), Qt::Key_Space);
    hold(ms);
    QTest::keyRelease(window.get(), Qt::Key_Space);
}

QStringList KeysTest::reports(int count)
{
    (void)QTest::qWaitFor([&] { return trainer.received(), trainer.reads().size() - seen >= count; }, 5000);
    QStringList out;
    for (const QByteArray &read : trainer.reads().mid(seen))
        out << QString::fromLatin1(read);
    seen = trainer.reads().size();
    return out;
}

void KeysTest::playGroup(const QString &group)
{
    trainer.send(groupFrame(group));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("echo: listen")); }, 5000));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("echo: key the group back")); }, 9000));
}

void KeysTest::an_event_is_stamped_with_its_own_time_when_handled_late_data()
{
    // The event's time on the window system's clock (ms, 32 bits) and when
    // it was handled, in ms on the monotonic clock: the stamp, in ms.
    QTest::addColumn<quint64>("eventMs");
    QTest::addColumn<qint64>("seenMs");
    QTest::addColumn<double>("stampMs");
    QTest::newRow("handled at once") << quint64(1'000'000) << qint64(1'000'004) << 1'000'004.0;
    QTest::newRow("held up") << quint64(1'000'000) << qint64(1'000'150) << 1'000'000.5;
    QTest::newRow("across the clock's wrap")
        << quint64(0xffff'fff0) << qint64(0x1'0000'0080) << double(0xffff'fff0) + 0.5;
    QTest::newRow("made up by a test") << quint64(0) << qint64(1'000'150) << 1'000'150.0;
    QTest::newRow("on another clock") << quint64(2'000'000) << qint64(1'000'150) << 1'000'150.0;
}

void KeysTest::an_event_is_stamped_with_its_own_time_when_handled_late()
{
    QFETCH(quint64, eventMs);
    QFETCH(qint64, seenMs);
    QFETCH(double, stampMs);
    QCOMPARE(double(eventStamp(eventMs, seenMs * 1'000'000)) / 1e6, stampMs);
}

void KeysTest::straight_key_reported_only_in_an_echo_run()
{
    // Keyed in a copy run: heard, not reported. The run's group is cut off
    // by the echo run's start: no "OK" for it comes after.
    trainer.send(copyStartFrame() + groupFrame(u"TT"));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("copy:")); }, 5000));
    QTest::keyPress(window.get(), Qt::Key_Space);
    QVERIFY(player->key());
    QTest::keyRelease(window.get(), Qt::Key_Space);
    QVERIFY(!player->key());
    // Another window takes the keyboard while the key is held: its release
    // goes there, so the key is let go at once.
    QTest::keyPress(window.get(), Qt::Key_Space);
    QEvent away(QEvent::WindowDeactivate);
    QApplication::sendEvent(window.get(), &away);
    QVERIFY(!player->key());

    // In an echo run, keyed before any group: counted for none. Then the
    // group "A" keyed back: short, long, then a character end; the first
    // texts on the line. A desktop repeats a held key as release and press
    // pairs marked as auto-repeat: they neither end nor start an element.
    trainer.send(echoStartFrame());
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("echo:")); }, 5000));
    key(50);
    playGroup(QStringLiteral("A"));
    // The dot's press and release handled together, the window's thread
    // held up between them: timed by their own times, still a dot.
    const auto nowMs = quint64(monotonicNs() / 1'000'000);
    for (const auto &[type, atMs] : {std::pair(QEvent::KeyPress, nowMs - 60), std::pair(QEvent::KeyRelease, nowMs)}) {
        QKeyEvent late(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        late.setTimestamp(atMs);
        QApplication::sendEvent(window.get(), &late);
    }
    hold(100);
    QTest::keyPress(window.get(), Qt::Key_Space);
    hold(100);
    for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeat(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(window.get(), &repeat);
    }
    hold(160);
    QTest::keyRelease(window.get(), Qt::Key_Space);
    QCOMPARE(reports(3), QStringList({"R", "H", "V"}));
    // Its timing is shown with it, the long dash named; the trainee hears
    // it again, and the next group waits for that.
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("Timing: ")); }, 5000));
    QVERIFY2(shown().contains(QLatin1String("dashes long")), qPrintable(shown()));
    auto *playBack = window->findChild<QPushButton *>(QStringLiteral("playBack"));
    QVERIFY(playBack && playBack->isEnabled());
    QTest::mouseClick(playBack, Qt::LeftButton);
    QVERIFY(keyer->playingBack());
    QVERIFY(QTest::qWaitFor([&] { return !keyer->playingBack(); }, 9000));
}

void KeysTest::a_late_character_is_not_reported()
{
    // "A" was the whole group: an "E" keyed now, before the next group
    // sounds, is shown as keyed after the group and never reaches the
    // trainer. The next group waits for a breath of silence after the "E",
    // which ended some 0.3 s before its review showed: the pause, 1.5 s, as
    // it is longer than a word gap at the trainee's pace (over 0.7 s here);
    // "DE" then sounds for 1.1 s.
    trainer.send(pauseFrame(150));
    key(50);
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("keyed after the group")); }, 5000));
    QVERIFY2(shown().contains(QStringLiteral("extra E \u00b7 keyed after the group")), qPrintable(shown()));
    QVERIFY(shown().contains(QLatin1String("echo: the next group comes after a breath")));
    QElapsedTimer quiet;
    quiet.start();
    playGroup(QStringLiteral("DE"));
    QVERIFY2(quiet.elapsed() > 1500 - 400 + 1100, qPrintable(QString::number(quiet.elapsed())));
    QCOMPARE(reports(0), QStringList());
}

void KeysTest::paddles_key_whole_elements_and_repeat()
{
    // A tap on the right Ctrl keys a whole dash; the left Ctrl pressed
    // while it sounds is remembered, and held keys dots until let go.
    const qsizetype from = trainer.received().size();
    QKeyEvent rightControl(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, 105, 0xffe4, 0);
    QApplication::sendEvent(window.get(), &rightControl);
    QKeyEvent rightControlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, 105, 0xffe4, 0);
    QApplication::sendEvent(window.get(), &rightControlUp);
    QTest::keyPress(window.get(), Qt::Key_Control); // without the right one's codes: the left
    QVERIFY(QTest::qWaitFor([&] { return trainer.received().mid(from).count('R') >= 2; }, 5000));
    QTest::keyRelease(window.get(), Qt::Key_Control);
    QVERIFY(QTest::qWaitFor([&] { return trainer.received().mid(from).endsWith("V"); }, 5000));
    const QString got = reports(0).join(QString());
    QVERIFY2(QRegularExpression(QStringLiteral("^HRR+V$")).match(got).hasMatch(), qPrintable(got));
}

void KeysTest::the_window_s_key_area_and_tone_box()
{
    // At speed 30 a dot is 200 ms: a 300 ms press on the key area is short
    // now. The window shows the speed and pause the trainer set.
    trainer.send(speedFrame(u"30") + pauseFrame(120));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("1.20 s")); }, 5000));
    QVERIFY2(shown().contains(QLatin1String("30 letters per minute (dot 200 ms)")), qPrintable(shown()));
    KeyArea *area = window->findChild<KeyArea *>();
    auto *tone = window->findChild<QSpinBox *>();
    auto *volume = window->findChild<QSlider *>();
    QVERIFY(area && tone && volume);
    QTest::mousePress(area, Qt::LeftButton);
    QVERIFY(player->key());
    hold(300);
    QTest::mouseRelease(area, Qt::LeftButton);
    QCOMPARE_LT(keys->silentMs(), 300.0); // the next group's breath counts from the release, not the press
    QCOMPARE(reports(2), QStringList({"R", "V"}));
    // Keys the keyer does not use reach the window's controls.
    tone->setFocus();
    tone->selectAll();
    QTest::keyClicks(tone, QStringLiteral("700"));
    QCOMPARE(tone->value(), 700);
    QCOMPARE(player->frequency(), 700.0);
    QVERIFY(volume->y() > tone->y()); // in its row below the tone's, not left lying at the window's corner
    volume->setFocus();
    QTest::keySequence(volume, QKeySequence(Qt::Key_Home, Qt::Key_PageUp));
    QCOMPARE(volume->value(), volume->pageStep()); // a page up from silence
    QCOMPARE(player->volume(), volume->value() / 100.0);
}

void KeysTest::a_band_chosen_in_the_window_plays_and_is_told()
{
    // A preset chosen in the band's row plays from the next group, is
    // described, and reaches the trainer's file as the program keeps it; an SNR typed
    // in the settings makes the band a custom one, and the clean band chosen
    // again takes "custom" away.
    BandFile file(dir.filePath(QStringLiteral("line.conditions")), line.devicePath());
    connect(keyer.get(), &Keyer::bandChanged, this, [&] { file.write(keyer->band()); });
    auto *band = window->findChild<QComboBox *>(QStringLiteral("band"));
    QVERIFY(band);
    band->setFocus();
    QTest::keyClick(band, Qt::Key_Down);
    QCOMPARE(keyer->band(), *bandPreset(u"weak"));
    QCOMPARE(band->accessibleDescription(), QStringLiteral("Plays: SNR 3 dB in a 500 Hz filter, fading 10 dB slow"));
    QCOMPARE(readFile(file.path()), "device " + line.devicePath().toUtf8() + "\nband filter=500 snr=3 fading=10/6\n");

    auto *settings = window->findChild<QPushButton *>(QStringLiteral("bandSettings"));
    settings->setFocus();
    QTest::keyClick(settings, Qt::Key_Return); // the space bar is the key here
    auto *dialog = window->findChild<BandDialog *>();
    QVERIFY(dialog && dialog->isVisible());
    auto *snr = dialog->findChild<QDoubleSpinBox *>();
    snr->setFocus();
    snr->selectAll();
    QTest::keyClicks(snr, QStringLiteral("-6"));
    QCOMPARE(keyer->band().snrDb, 3.0); // not at each key
    QTest::keyClick(snr, Qt::Key_Return);
    QCOMPARE(keyer->band().snrDb, -6.0);
    QCOMPARE(band->currentText(), QStringLiteral("custom"));
    QVERIFY(readFile(file.path()).endsWith("\nband filter=500 snr=-6 fading=10/6\n"));

    dialog->close();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    band->setFocus();
    QTest::keyClick(band, Qt::Key_Home);
    QVERIFY(keyer->band().clean());
    QCOMPARE(band->count(), bandPresetNames().size());
    QVERIFY(!dialog->findChild<QCheckBox *>()->isChecked()); // the dialog follows: no noise
}

void KeysTest::a_group_left_unfinished_is_completed()
{
    // One character keyed while a four-letter group sounds (2.6 s at speed
    // 30), then silence: a word gap after the group has ended, never while
    // it sounds, the keyer ends the group for the trainer with three "V"s.
    // Its review comes first; "DE" (keyed as "DE" or "BE") stays below it.
    trainer.send(groupFrame(u"EEEE"));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("echo: listen")); }, 5000));
    QElapsedTimer clock;
    clock.start();
    key(100);
    QCOMPARE(reports(2), QStringList({"R", "V"}));
    QCOMPARE(reports(3), QStringList({"V", "V", "V"}));
    QVERIFY2(clock.elapsed() > 2600, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(shown().contains(QLatin1String("characters not keyed: 3")), qPrintable(shown()));
    QVERIFY2(shown().contains(QLatin1String("\n<tt>D&nbsp;E&nbsp;<br>")), qPrintable(shown()));
    // A single character left to the keyer is said too.
    ReviewList single;
    single.addReview({1, QStringLiteral("KM"), {{QStringLiteral("HRH")}}, 1});
    QVERIFY2(single.newestInWords().endsWith(
                 QLatin1String("characters not keyed: 1 (after your silence the keyer sent # for each)")),
             qPrintable(single.newestInWords()));
    QVERIFY2(single.text().contains(QLatin1String("<br>K&nbsp;<span style=\"color:#c00000\"><b>_</b></span>")),
             qPrintable(single.text())); // the place left out, in red
    for (int number = 1; number <= 5; ++number) // the newest four are shown, each with M keyed as N
        single.addReview({number, QStringLiteral("KM"), {{QStringLiteral("HRH")}, {QStringLiteral("HR")}}, 0});
    QCOMPARE(single.text().count(QStringLiteral("M \u2212\u2212 keyed as N \u2212\u00b7")), 4);
    single.addReview({6, QStringLiteral("     "), {}, 0}); // nothing ticked in the trainer: blanks
    QVERIFY(single.newestInWords().startsWith(QLatin1String("No characters were sent: tick")));
}

void KeysTest::a_key_adapter_shows_its_lines()
{
    // A trainee wiring a key sees which device keys and each line's state;
    // a key pulled out is said in the window.
    auto *lines = new FakeLines;
    KeyLineMap map = *keyLineMapFromText(QStringLiteral("CTS"));
    map.invert = true;
    adapter = std::make_unique<KeyAdapter>(QStringLiteral("/dev/ttyUSB9"), map, *keys,
                                           std::unique_ptr<ModemLineSource>(lines), player->directKey());
    adapter->reportProblemsWith([](const QString &) {});
    adapter->start();
    window->showKeyAdapter(*adapter);
    QVERIFY2(shown().contains(
                 QLatin1String("/dev/ttyUSB9, straight key on CTS (inverted)\nCTS off, DSR off, DCD off, RI off")),
             qPrintable(shown()));
    lines->sink.reading({Cts | Dcd, monotonicNs()});
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("CTS on, DSR off, DCD on, RI off")); }, 5000));
    // In an echo run a key on the adapter needs no keyboard: the window
    // asks for it only once the adapter is gone.
    QVERIFY(shown().contains(QLatin1String("echo:")));
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    const auto hinted = [&] {
        const QList<QLabel *> labels = window->findChildren<QLabel *>();
        return std::any_of(labels.cbegin(), labels.cend(), [](const QLabel *label) {
            return label->isVisible() && label->text().startsWith(QLatin1String("Key the groups back in this window"));
        });
    };
    QVERIFY(!hinted());
    lines->sink.lost(EIO);
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("not connected; keying with the keyboard")); },
                            5000));
    QVERIFY(hinted());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    // Active again, but no key has reached it since it lost the keyboard:
    // it still asks for it, however often it is drawn anew.
    trainer.send(pauseFrame(130));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("1.30 s")); }, 5000));
    QVERIFY(hinted());
    // Any key that reaches it shows it has the keyboard: it asks no more.
    QTest::keyClick(window.get(), Qt::Key_Shift);
    QVERIFY(!hinted());
    trainer.send(echoStartFrame()); // the next echo run asks for it anew
    QVERIFY(QTest::qWaitFor(hinted, 5000));
}

void KeysTest::the_trainer_leaves()
{
    // The window says so, and the keyer announces itself to whoever opens
    // the line next: once, as nobody reads it now. A copy run whose last
    // group has played, with no group after it, is said to be over first.
    trainer.send(copyStartFrame() + groupFrame(u"E"));
    QVERIFY(trainer.waitFor("OK"));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("copy: the run is over")); }, 5000));
    trainer.close();
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String(", waiting for the trainer\nno run yet\n")); },
                            5000));
    QVERIFY(QTest::qWaitFor([&] { return line.unread() == 1; }, 5000));
}

void KeysTest::the_window_shows_the_sound()
{
    // Without a sound server the keyer plays silently and says so. Left
    // without the keyboard and with nothing to play, it rests, and a server
    // that comes meanwhile is found all the same; the window taking the
    // keyboard back makes it ready before any key (not "playing": nothing
    // sounds). A server that goes is shown gone.
    const QString silent = QStringLiteral("no sound output: playing silently, looking for it again");
    QVERIFY2(shown().contains(silent), qPrintable(shown()));
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    if (const QString why = sound.start(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("\nresting; ready again")); }, 20000));
    window->activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(QLatin1String("\nready\n")); }, 3000));
    sound.stop();
    QVERIFY(QTest::qWaitFor([&] { return shown().contains(silent); }, 10000));
}

QTEST_MAIN(KeysTest)
#include "tst_keyer_keys.moc"
