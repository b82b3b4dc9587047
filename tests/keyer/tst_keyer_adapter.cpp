// SPDX-License-Identifier: GPL-3.0-or-later
// A key on a serial adapter's modem lines: readings with chosen monotonic
// stamps, as the adapter's reader thread would give them, fed to the key
// input through the adapter's seam; what comes out is the reports and the
// tone's edges with their times, a straight key's handed to the sidetone
// on the reader's thread. Then the faults: said once, the keyer going
// on, the adapter taken back. Last the kernel part, reading an adapter that
// this test answers for in place of a serial driver.

#include "core/pseudoterminal.h"
#include "fakelines.h"
#include "keys/keyadapter.h"
#include "keys/keyinput.h"
#include "keys/modemlines.h"

#include <QDir>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// A serial adapter where the kernel's driver would be: the modem-line ioctls
// on one pseudo-terminal's device are answered from here, all others go on
// to the kernel.
struct Adapter {
    dev_t device = 0;
    std::atomic<int> lines = 0, changes = 0, supplied = 0; // TIOCM_ bits; changes as the driver counts them
    std::atomic<int> bouncing = 0; // reads during which a change comes and goes
    std::atomic<int> fault = 0; // what reading the lines fails with
    std::atomic<bool> canWait = true;
    std::atomic<int> waits = 0; // TIOCMIWAITs entered
    int changed = eventfd(0, EFD_CLOEXEC);
    void set(int bits)
    {
        lines = bits;
        ++changes;
        eventfd_write(changed, 1);
    }
} adapter;

} // namespace

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept
{
    va_list args;
    va_start(args, request);
    void *arg = va_arg(args, void *);
    va_end(args);
    struct stat st { };
    const bool ours = adapter.device != 0 && fstat(fd, &st) == 0 && st.st_rdev == adapter.device;
    switch (ours ? request : 0) {
    case TIOCMGET:
        if (adapter.bouncing > 0) {
            --adapter.bouncing;
            ++adapter.changes;
        }
        errno = adapter.fault; // 0 unless pulled out
        *static_cast<int *>(arg) = adapter.lines | adapter.supplied;
        return errno == 0 ? 0 : -1;
    case TIOCMBIS:
        adapter.supplied |= *static_cast<int *>(arg);
        return 0;
    case TIOCEXCL: // kept from the pseudo-terminal: as any user but root the test could not open it again
        return 0;
    case TIOCGICOUNT: {
        serial_icounter_struct counted{};
        counted.cts = counted.dsr = adapter.changes;
        *static_cast<serial_icounter_struct *>(arg) = counted;
        return 0;
    }
    case TIOCMIWAIT: {
        if (!adapter.canWait) {
            errno = EINVAL;
            return -1;
        }
        ++adapter.waits;
        pollfd wake{adapter.changed, POLLIN, 0};
        eventfd_t count;
        return poll(&wake, 1, -1) == 1 ? eventfd_read(adapter.changed, &count) : -1; // EINTR on the wake signal
    }
    }
    return int(syscall(SYS_ioctl, fd, request, arg)); // any other device or request: the kernel
}

class AdapterTest : public QObject
{
    Q_OBJECT

private slots:
    void keys_from_lines_data();
    void keys_from_lines();
    void stamps_reach_the_sidetone_to_the_nanosecond();
    void faults_said_once_data();
    void faults_said_once();
    void reads_a_serial_adapter();
};

void AdapterTest::keys_from_lines_data()
{
    // Readings "lines@ms" (C CTS, D DSR, - none), each change read again
    // 1 ms later as the reader does; at a dot of 20 ms.
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("readings");
    QTest::addColumn<QString>("reports");
    QTest::addColumn<QString>("tone");
    QTest::newRow("straight key: a dot and a dash, timed by the stamps") << "straight"
                                                                         << "C@0 C@1 -@20 -@21 C@40 C@41 -@100 -@101"
                                                                         << "RHV"
                                                                         << "on0 off20 on40 off100";
    QTest::newRow("a bounce shorter than the confirmation is nothing") << "straight"
                                                                       << "C@0 C@1 -@30 C@31 C@32 -@50 -@51"
                                                                       << "HV"
                                                                       << "on0 off50";
    QTest::newRow("a longer bounce: the edge where the line settled") << "straight"
                                                                      << "C@0 -@1 C@2 C@3 -@60 -@61"
                                                                      << "HV"
                                                                      << "on2 off60";
    QTest::newRow("inverted: a line off is the key down") << "CTS --invert"
                                                          << "-@0 -@1 C@20 C@21"
                                                          << "RV"
                                                          << "on0 off20";
    QTest::newRow("paddles squeezed, mode B keys one more dot") << "paddles"
                                                                << "C@0 C@1 CD@10 CD@11 -@100 -@101"
                                                                << "RHRV"
                                                                << "on0 off20 on40 off100 on120 off140";
}

void AdapterTest::keys_from_lines()
{
    QFETCH(QString, lines);
    QFETCH(QString, readings);
    QFETCH(QString, reports);
    QFETCH(QString, tone);
    KeyInput keys(20);
    const std::optional<KeyLineMap> named = keyLineMapFromText(lines.section(QLatin1Char(' '), 0, 0));
    QVERIFY(named);
    KeyLineMap map = *named;
    map.invert = lines.contains(QLatin1String("--invert"));
    auto *source = new FakeLines;
    // The straight key sounds straight from the reader's thread; the
    // paddles through the key input, which times their elements.
    const qint64 base = monotonicNs();
    QStringList direct, heardHere;
    KeyAdapter adapter(QStringLiteral("/dev/ttyUSB9"), map, keys, std::unique_ptr<ModemLineSource>(source),
                       [&](bool on, qint64 atNs) {
                           direct << QStringLiteral("%1%2").arg(on ? "on" : "off").arg((atNs - base) / 1'000'000);
                       });
    adapter.reportProblemsWith([](const QString &said) { QFAIL(qPrintable(said)); });
    adapter.start();
    QVERIFY(adapter.isOpen());

    QString gotReports;
    QStringList gotTone;
    const auto edge = [&](QStringList &into) {
        return [&](bool on, double at) {
            into << QStringLiteral("%1%2").arg(on ? "on" : "off").arg(qRound(at - keys.msFromStamp(base)));
        };
    };
    connect(&keys, &KeyInput::report, this, [&](char letter) { gotReports += QLatin1Char(letter); });
    connect(&keys, &KeyInput::keyed, this, edge(gotTone));
    connect(&keys, &KeyInput::sounds, this, [&](bool on, qint64 atNs) {
        heardHere << QStringLiteral("%1%2").arg(on ? "on" : "off").arg((atNs - base) / 1'000'000);
    });
    for (const QString &reading : readings.split(QLatin1Char(' '))) {
        unsigned bits = 0;
        for (QChar c : reading.section(QLatin1Char('@'), 0, 0))
            bits |= c == QLatin1Char('C') ? Cts : c == QLatin1Char('D') ? Dsr : 0u;
        source->sink.reading({bits, base + qint64(reading.section(QLatin1Char('@'), 1).toDouble() * 1e6)});
    }
    const QString directly = direct.join(QLatin1Char(' ')); // before this thread has handled any
    QVERIFY(QTest::qWaitFor([&] { return gotReports.endsWith(QLatin1Char('V')); }, 5000));
    QCOMPARE(gotReports, reports);
    QCOMPARE(gotTone.join(QLatin1Char(' ')), tone);
    const bool straight = !lines.startsWith(QLatin1String("paddles"));
    QCOMPARE(directly, straight ? tone : QString());
    QCOMPARE(heardHere.join(QLatin1Char(' ')), straight ? QString() : tone);
}

// The sidetone gets the key's own stamp, to the nanosecond, however long
// after the key input was made.
void AdapterTest::stamps_reach_the_sidetone_to_the_nanosecond()
{
    KeyInput keys(20);
    const qint64 stamp = keys.stampFromMs(0) + qint64(24) * 86'400'000'000'000 + 7;
    QList<qint64> heard;
    connect(&keys, &KeyInput::sounds, this, [&](bool, qint64 atNs) { heard << atNs; });
    keys.straightAt(true, stamp);
    keys.straightAt(false, stamp + 1);
    QCOMPARE(heard, (QList<qint64>{stamp, stamp + 1}));
}

void AdapterTest::faults_said_once_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("lookedForAgain");
    QTest::addColumn<int>("then"); // what the next look finds: said only if it is other trouble
    QTest::addColumn<bool>("saidAgain");
    QTest::newRow("missing, then on its way out")
        << ENOENT << "the key adapter /dev/ttyUSB9 is not there" << true << ENODEV << false;
    QTest::newRow("refused, then missing") << EACCES << "you are not in the group dialout" << true << ENOENT << true;
    QTest::newRow("held by another program")
        << EBUSY << "/dev/ttyUSB9 is in use by another program" << true << EBUSY << false;
    QTest::newRow("no serial port") << ENOTTY << "/dev/ttyUSB9 is no serial port" << false << 0 << false;
    QTest::newRow("a folder") << EISDIR << "/dev/ttyUSB9 is no serial port" << false << 0 << false;
    QTest::newRow("no device behind it from the start, as /dev/tty with no terminal")
        << ENXIO << "/dev/ttyUSB9 has no device behind it" << false << 0 << false;
}

void AdapterTest::faults_said_once()
{
    QFETCH(int, error);
    QFETCH(QString, said);
    QFETCH(bool, lookedForAgain);
    QFETCH(int, then);
    QFETCH(bool, saidAgain);
    KeyInput keys(20);
    auto *source = new FakeLines;
    source->error = error;
    KeyAdapter adapter(QStringLiteral("/dev/ttyUSB9"), {}, keys, std::unique_ptr<ModemLineSource>(source));
    QStringList problems;
    adapter.reportProblemsWith([&](const QString &problem) { problems << problem; });
    adapter.start();
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems.first().contains(said), qPrintable(problems.first()));
    QCOMPARE(problems.first().contains("when it is there"), lookedForAgain && error != EACCES);
    if (!lookedForAgain)
        return;
    source->error = then;
    QVERIFY(QTest::qWaitFor([&] { return source->opens == 2; }, 3000));
    QCOMPARE(problems.size(), saidAgain ? 2 : 1);
    const qsizetype told = problems.size();

    // It appears, a key goes down on it, and it is pulled out.
    source->error = 0;
    QVERIFY(QTest::qWaitFor([&] { return adapter.isOpen(); }, 3000));
    QCOMPARE(problems.last(), QLatin1String("the key adapter /dev/ttyUSB9 is there; keying with it too"));
    QList<bool> tone;
    connect(&keys, &KeyInput::keyed, this, [&](bool on) { tone << on; });
    const qint64 now = monotonicNs();
    source->sink.reading({Cts, now});
    source->sink.reading({Cts, now + 1'000'000});
    source->sink.lost(EIO);
    QVERIFY(QTest::qWaitFor([&] { return !adapter.isOpen(); }, 3000) && source->closes == 1); // let go of at once
    QCOMPARE(tone, (QList<bool>{true, false}));
    QCOMPARE(problems.size(), told + 2);
    QVERIFY2(problems.last().contains(QLatin1String("is gone (Input/output error)")), qPrintable(problems.last()));
    QVERIFY(QTest::qWaitFor([&] { return adapter.isOpen(); }, 3000));
    QCOMPARE(problems.size(), told + 3);
}

void AdapterTest::reads_a_serial_adapter()
{
    QString why;
    const auto pty = openPseudoTerminal(&why);
    QVERIFY2(pty, qPrintable(why));
    ModemLines lines;
    QCOMPARE(lines.open(pty->slavePath, {}), ENOTTY); // a pseudo-terminal has no modem lines
    QCOMPARE(lines.open(QStringLiteral("/dev/null"), {}), ENOTTY);
    QCOMPARE(lines.open(QStringLiteral("/dev"), {}), EISDIR);
    QCOMPARE(lines.open(QStringLiteral("/dev/no-such-adapter"), {}), ENOENT);
    struct stat st { };
    QCOMPARE(fstat(pty->slave, &st), 0);
    adapter.device = st.st_rdev; // from here on an adapter
    std::mutex lock;
    QStringList got; // the lines read
    QList<qint64> stamps;
    int polling = 0;
    QList<int> lost;
    const ModemLineSource::Sink sink{[&](ModemLineSource::Reading r) {
                                         std::lock_guard hold(lock);
                                         got << QString::number(r.lines), stamps << r.atNs;
                                     },
                                     [&] {
                                         std::lock_guard hold(lock);
                                         ++polling;
                                     },
                                     [&](int error) {
                                         std::lock_guard hold(lock);
                                         lost << error;
                                     }};
    const auto count = [&] {
        std::lock_guard hold(lock);
        return got.size();
    };
    const auto openFiles = [] {
        return QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System).size();
    };
    const qsizetype openBefore = openFiles();
    adapter.fault = EIO;
    QCOMPARE(lines.open(pty->slavePath, sink), EIO);
    adapter.fault = 0;
    QCOMPARE(lines.open(pty->slavePath, sink), 0);
    QCOMPARE(adapter.supplied.load(), TIOCM_DTR | TIOCM_RTS); // the key's contacts powered

    // Every change read twice, a confirmation time apart, stamped after the
    // wait; once more for each change that came and went during a read
    // (the first hides in the change itself). Then the reader waits.
    const std::tuple<int, int, QStringList> changes[]{{0, 0, {"0", "0"}},
                                                      {TIOCM_CTS, 0, {"1", "1"}}, // Cts
                                                      {TIOCM_CTS | TIOCM_DSR, 0, {"3", "3"}},
                                                      {TIOCM_CD | TIOCM_RI, 2, {"12", "12", "12"}},
                                                      {0, 1, {"0", "0"}}};
    for (int step = 0; step < 5; ++step) {
        const auto &[bits, bounces, readings] = changes[step];
        const qsizetype before = step == 0 ? 0 : count();
        const qint64 at = monotonicNs();
        if (step > 0) {
            adapter.bouncing = bounces;
            adapter.set(bits);
        }
        QVERIFY(QTest::qWaitFor([&] { return adapter.waits == step + 1; }, 3000));
        std::lock_guard hold(lock);
        QCOMPARE(got.mid(before), readings);
        QVERIFY(step == 0 || stamps[before] >= at);
        QVERIFY(stamps[before + 1] - stamps[before] >= KeyLines::confirmationNs);
    }
    // A driver that cannot wait for the lines: read every millisecond.
    adapter.canWait = false;
    adapter.set(TIOCM_CTS);
    const qsizetype before = count();
    QVERIFY(QTest::qWaitFor([&] { return count() > before + 20; }, 3000));
    {
        std::lock_guard hold(lock);
        QCOMPARE(polling, 1);
        QVERIFY(stamps.last() - stamps[before + 5] >= (stamps.size() - before - 6) * 1'000'000);
    }
    // Pulled out: said once, nothing read after.
    adapter.fault = EIO;
    QVERIFY(QTest::qWaitFor(
        [&] {
            std::lock_guard hold(lock);
            return !lost.isEmpty();
        },
        3000));
    const qsizetype last = count();
    lines.close();
    QCOMPARE(lost, QList<int>{EIO});
    QCOMPARE(count(), last);
    QCOMPARE(openFiles(), openBefore); // let go for the next open

    // Closed while it waits for a change.
    adapter.fault = 0;
    adapter.canWait = true;
    const int waits = adapter.waits;
    QCOMPARE(lines.open(pty->slavePath, sink), 0);
    QVERIFY(QTest::qWaitFor([&] { return adapter.waits > waits; }, 3000));
    lines.close();
    adapter.device = 0;
    QCOMPARE(lost.size(), 1);
}

QTEST_GUILESS_MAIN(AdapterTest)
#include "tst_keyer_adapter.moc"
