// SPDX-License-Identifier: GPL-3.0-or-later
// The keyer's side of the dialogue, driven frame by frame through a line and
// a schedule of the test's own: what it writes back to the trainer, and what
// it schedules to sound, for a copy run, an echo run keyed back by the keyer
// itself, a run dropped by a start frame, and a trainer that goes away.
// Then the keyer's own pseudo-terminal with a trainer that stops reading.

#include "common/frames.h"
#include "dialogue/keyer.h"
#include "keys/keyinput.h"
#include "line/keyerline.h"
#include "line/ptyline.h"
#include "sound/schedule.h"

#include <QTemporaryFile>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <unistd.h>

namespace {

class TestLine : public KeyerLine
{
public:
    QString devicePath() const override { return QStringLiteral("/dev/pts/test"); }
    void write(const QByteArray &bytes) override { written.append(QString::fromLatin1(bytes)); }
    int unread() const override { return 0; }
    void dropUnread() override { }
    bool farEndOpen() const override { return open; }

    QStringList written;
    bool open = true;
};

// Plays nothing: run() moves its clock to the end of what is scheduled,
// firing each action in turn.
class TestSchedule : public Schedule
{
public:
    int sampleRate() const override { return 8000; }
    qint64 append(const std::vector<ToneSegment> &segments) override
    {
        const qint64 start = qMax(end, now);
        end = start;
        for (const ToneSegment &segment : segments) {
            end += segment.samples;
            tones += segment.tone;
        }
        return start;
    }
    qint64 scheduleEnd() const override { return end; }
    void clearSchedule() override { end = now; }
    void at(qint64 position, std::function<void()> action) override { actions.emplace(position, std::move(action)); }
    void setKey(bool down, qint64) override { keyDown = down; }
    void prepare() override { }

    void run()
    {
        while (!actions.empty()) {
            auto next = actions.begin();
            now = qMax(now, next->first);
            const std::function<void()> action = std::move(next->second);
            actions.erase(next);
            action();
        }
        now = qMax(now, end);
    }

    std::multimap<qint64, std::function<void()>> actions;
    qint64 now = 0;
    qint64 end = 0;
    int tones = 0;
    bool keyDown = false;
};

// What `action` says on stderr.
QByteArray stderrOf(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        return "<no file for stderr>";
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    action();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    ::close(saved);
    file.seek(0);
    return file.readAll();
}

} // namespace

class DialogueTest : public QObject
{
    Q_OBJECT

private slots:
    void dialogue_data();
    void dialogue();
    void a_trainer_that_stops_reading();
};

void DialogueTest::dialogue_data()
{
    // Steps: "<..." bytes from the trainer, "play" the schedule to its end,
    // "down" the trainee holds the key, "dot" keys one (its end stamped
    // ahead, as an adapter's reading may be), "close" the trainer goes. Written:
    // the texts back, in order. Every row ends with the key let go.
    QTest::addColumn<bool>("autoEcho");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<int>("tones");
    QTest::addColumn<qint64>("samples"); // where the schedule ends, from the last start frame

    // Speed 60 at 8000 samples a second: a dot is 800 samples. K M: 19 dots;
    // pause 50: 4000 samples.
    QTest::newRow("a copy group does not wait for the trainee's key to rest")
        << false << QStringList{"<qq><u60><r>", "dot", "<KM>", "play"} << QStringList{"x", "OK\r\n"} << 5
        << qint64(19 * 800 + 4000);
    QTest::newRow("a start frame drops the group waiting, and the OK of the one sounding")
        << false << QStringList{"<qq><u60><z\x32><r><KM><EE>", "<r><T>", "play"} << QStringList{"x", "OK\r\n"} << 6
        << qint64(3 * 800 + 4000);
    QTest::newRow("a flood of groups: 16 wait while one sounds, the rest are dropped")
        << false << QStringList{"<qq><u60><z\x32><r>" + QString("<E>").repeated(40), "play"}
        << QStringList{"x"} + QStringList(17, "OK\r\n") << 17 << qint64(17 * (800 + 4000));
    QTest::newRow("speed 00 is ignored: the last speed stays")
        << false << QStringList{"<qq><u60><z\x32><u00><r><E>", "play"} << QStringList{"x", "OK\r\n"} << 1
        << qint64(800 + 4000);
    QTest::newRow("echo keyed back by the keyer: each element, each character end, then the next group")
        << true << QStringList{"<qq><u60><s><KM>", "play", "<E>", "play"}
        << QStringList{"x", "H", "R", "H", "V", "H", "H", "V", "R", "V"} << 12 << qint64(-1);
    QTest::newRow("an echo group sent while one sounds follows it")
        << false << QStringList{"<qq><u60><s><KM><E>", "play"} << QStringList{"x"} << 6 << qint64(-1);
    QTest::newRow("a start frame in the trainee's turn: what is keyed before the next group is not the trainer's")
        << false << QStringList{"<qq><u60><s><KM>", "<s>", "dot"} << QStringList{"x"} << 5 << qint64(0);
    QTest::newRow("a start frame lets go of a key held")
        << false << QStringList{"<qq><u60><s>", "down", "<r>"} << QStringList{"x"} << 0 << qint64(0);
    QTest::newRow("so does a trainer that goes")
        << false << QStringList{"<qq><u60><s>", "down", "close"} << QStringList{"x", "x"} << 0 << qint64(0);
}

void DialogueTest::dialogue()
{
    QFETCH(bool, autoEcho);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, written);
    QFETCH(int, tones);
    QFETCH(qint64, samples);

    KeyerOptions options;
    options.autoEcho = autoEcho;
    options.fast = true;
    TestLine line;
    TestSchedule schedule;
    KeyInput keys(100);
    Keyer keyer(options, line, schedule, keys);
    bool lit = false; // the key as the window shows it
    connect(&keys, &KeyInput::keyed, this, [&](bool down) { lit = down; });
    keyer.start();
    QCOMPARE(line.written, QStringList{"x"}); // greeted at once, not a tick of the timer later
    for (const QString &step : steps) {
        if (step == "play") {
            schedule.run();
        } else if (step == "down") {
            keys.straightDown();
            QVERIFY(schedule.keyDown);
        } else if (step == "dot") {
            const qint64 now = monotonicNs();
            keys.straightAt(true, now);
            keys.straightAt(false, now + 60'000'000);
        } else if (step == "close") {
            line.open = false;
            emit line.farEndClosed();
        } else {
            // Each group waits for the text before it to have gone.
            QVERIFY(QTest::qWaitFor([&] { return !line.written.isEmpty(); }));
            emit line.received(step.toLatin1());
        }
    }
    QVERIFY2(QTest::qWaitFor([&] { return line.written.size() >= written.size(); }),
             qPrintable(line.written.join('|')));
    QCOMPARE(line.written.mid(0, written.size()), written);
    // And nothing after them but the greeting of a trainer still to come.
    const auto more = [&] {
        const QStringList after = line.written.mid(written.size());
        return std::any_of(after.cbegin(), after.cend(), [](const QString &text) { return text != "x"; });
    };
    QVERIFY2(!QTest::qWaitFor(more, 200), qPrintable(line.written.join('|')));
    QCOMPARE(schedule.tones, tones);
    QVERIFY(!schedule.keyDown && !lit);
    // The key let go and pressed again sounds.
    keys.straightUp();
    keys.straightDown();
    QVERIFY(schedule.keyDown && lit);
    if (samples >= 0)
        QCOMPARE(schedule.end, samples);
}

// A trainer hung with the line open: the keyer drops what does not fit and
// says so once a hang, not once a write (the kernel moving the waiting bytes
// along its buffers can let one write through in between); when the trainer
// reads again the keyer's texts go through, and a second hang is said again.
void DialogueTest::a_trainer_that_stops_reading()
{
    PtyLine line;
    QVERIFY(line.open());
    const auto fill = [&] {
        for (int i = 0; i < 256; ++i)
            line.write(QByteArray(1024, 'H'));
    };
    const auto saidOnceAHang = [](const QByteArray &said) {
        return said.count("not being read") >= 1 && said.count("not being read") <= 2;
    };
    QByteArray said = stderrOf(fill);
    QVERIFY2(saidOnceAHang(said), said.constData());
    // Bytes reach the far end a moment after the write.
    QVERIFY(QTest::qWaitFor([&] { return line.unread() > 0; }));
    QVERIFY(line.unread() < 256 * 1024);

    line.dropUnread();
    QVERIFY(QTest::qWaitFor([&] { return line.unread() == 0; }));
    said = stderrOf([&] { line.write("OK\r\n"); });
    QVERIFY(QTest::qWaitFor([&] { return line.unread() == 4; }));
    QCOMPARE(said, QByteArray());
    said = stderrOf(fill);
    QVERIFY2(saidOnceAHang(said), said.constData());
}

QTEST_MAIN(DialogueTest)
#include "tst_keyer_dialogue.moc"
