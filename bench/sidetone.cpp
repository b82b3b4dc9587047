// SPDX-License-Identifier: GPL-3.0-or-later
// How soon the keyer's sidetone answers the key, and whether it breaks up.
//
// Starts a PulseAudio server of its own with a null sink, plays the keyer's
// sidetone into it and records the sink's monitor. The key is pressed and
// released at known times through the keyer's own key input (KeyInput, wired
// to the player by Keyer as in the program); the recording says when each
// tone started and stopped at the sound server. Once on the machine as it is,
// once with a CPU burner on every core; then twice with the window's thread
// held up now and then while the presses come from a thread of their own:
// stamped when the window gets to them (the space bar's case) and stamped
// when they were seen, a key adapter's, which its reader hands to the
// sound thread itself.
//
//   build/bench-sidetone [presses per row, default 150] [presses after a rest, default 0]
//
// Presses after a rest each come 11 s after the last, when the sound
// output has closed its stream: the first press after a rest.
//
// "stalled" counts the presses during which, or in the 300 ms before, the
// machine itself stopped a core for over 2 ms (StallWatch: a virtual
// machine's host does); "calm on99" and "calm drops" are the rest's.
//
// BENCH_BAND=PRESET or BENCH_BAND="filter=500 snr=0 ..." plays the band
// between the presses (the keyer's band conditions).
// BENCH_DEBUG=1 prints the tones broken up and keeps the recordings in the
// temporary folder; BENCH_WAV=FILE also has the keyer write what it played.

#include "common/bandconditions.h"
#include "core/monotonicclock.h"
#include "cpuburner.h"
#include "dialogue/keyer.h"
#include "dialogue/options.h"
#include "keys/keyadapter.h"
#include "keys/keyinput.h"
#include "keys/quickwake.h"
#include "line/ptyline.h"
#include "sound/player.h"
#include "stallwatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <pulse/simple.h>

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point origin, Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(t - origin).count();
}

constexpr int recordRate = 48000;
constexpr int toneHz = 600;
constexpr double edgeMs = 5; // the sidetone's raised-cosine edge
// A stall shortly before a press still tells in it: the sidetone keeps a
// late edge's delay until the key has rested, the server its grown latency
// for a while.
constexpr double calmBeforeMs = 300;

// Records the monitor in a thread of its own, at real-time priority where
// allowed, stamping each read with the time it arrived.
class MonitorRecorder
{
public:
    bool start(Clock::time_point origin)
    {
        m_origin = origin;
        std::promise<bool> opened;
        std::future<bool> hasOpened = opened.get_future();
        m_thread = std::thread([this, &opened] {
            // Opened here, so that the client library's own thread gets the
            // same priority.
            sched_param param{sched_get_priority_max(SCHED_FIFO)};
            pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
            const pa_sample_spec spec{PA_SAMPLE_S16LE, recordRate, 1};
            pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(chunk * 2)};
            m_stream = pa_simple_new(nullptr, "bench-sidetone", PA_STREAM_RECORD, "bench.monitor", "monitor", &spec,
                                     nullptr, &attr, nullptr);
            opened.set_value(m_stream != nullptr);
            if (!m_stream)
                return;
            std::vector<qint16> buffer(chunk);
            while (!m_stop) {
                if (pa_simple_read(m_stream, buffer.data(), buffer.size() * 2, nullptr) < 0)
                    break;
                const double t = msSince(m_origin, Clock::now());
                std::lock_guard lock(m_mutex);
                m_samples.insert(m_samples.end(), buffer.begin(), buffer.end());
                m_stamps.push_back(t);
            }
        });
        if (!hasOpened.get()) {
            m_thread.join();
            return false;
        }
        return true;
    }
    void stop()
    {
        m_stop = true;
        m_thread.join();
        pa_simple_free(m_stream);
    }
    // The time each sample reached the recorder, in ms from the origin.
    double timeOf(size_t sample) const
    {
        const size_t read = sample / chunk;
        return m_stamps[read] - double(chunk - 1 - sample % chunk) * 1000.0 / recordRate;
    }
    const std::vector<qint16> &samples() const { return m_samples; }

private:
    static constexpr size_t chunk = recordRate / 1000; // 1 ms per read
    pa_simple *m_stream = nullptr;
    Clock::time_point m_origin;
    std::thread m_thread;
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::vector<qint16> m_samples;
    std::vector<double> m_stamps;
};

struct Tone {
    double start; // ms, where the tone began: half an edge before its half-amplitude point
    double end;
};

// Tones in the recording, from half-amplitude point to half-amplitude point.
std::vector<Tone> tonesIn(const MonitorRecorder &recorder)
{
    const std::vector<qint16> &s = recorder.samples();
    const int threshold = 16383 / 2;
    // A sine passes the level twice a period; on the edges, where it barely
    // reaches it, once. Silence for longer than two periods is a gap.
    const size_t maxGap = 2 * recordRate / toneHz;
    std::vector<Tone> tones;
    size_t first = 0, last = 0;
    bool in = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (std::abs(int(s[i])) < threshold)
            continue;
        if (in && i - last <= maxGap) {
            last = i;
            continue;
        }
        if (in)
            tones.push_back({recorder.timeOf(first) - edgeMs / 2, recorder.timeOf(last) - edgeMs / 2});
        in = true;
        first = last = i;
    }
    if (in)
        tones.push_back({recorder.timeOf(first) - edgeMs / 2, recorder.timeOf(last) - edgeMs / 2});
    return tones;
}

struct Press {
    double down;
    double up;
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(std::ceil(p * double(values.size()))) - 1)];
}

QString loadNow()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2)
                                          : QString();
}

// A key adapter's lines as the presser thread sets them, read at once and
// again a millisecond later, as the kernel reader does.
class PressedLines : public ModemLineSource
{
public:
    int open(const QString &, const Sink &sink) override
    {
        m_sink = sink;
        return 0;
    }
    void close() override { }
    void set(bool down)
    {
        const unsigned lines = down ? unsigned(Cts) : 0u;
        m_sink.reading({lines, monotonicNs()});
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_sink.reading({lines, monotonicNs()});
    }

private:
    Sink m_sink;
};

// How the presses reach the key input.
enum class Keying {
    Direct, // on the window's thread, as the space bar's events do
    HeldUpBarKey, // from another thread, handled when the window's thread gets to them, stamped then
    HeldUpAdapter, // from a key adapter (KeyAdapter) whose lines the presser thread sets
};

// Keys `count` presses of 30 to 150 ms with 40 to 200 ms between, then
// measures them in the recording. When held up, the window's thread is
// busy for 0 to 8 ms every 10 ms (a repaint, a report), as on a desktop
// under load, while the presses come from a thread of their own.
void runRow(const char *name, Player &player, KeyInput &keys, int count, int restMs = 0, Keying keying = Keying::Direct)
{
    const Clock::time_point origin = Clock::now();
    const StallWatch host(origin);
    MonitorRecorder recorder;
    if (!recorder.start(origin)) {
        std::fputs("bench-sidetone: cannot record the null sink's monitor\n", stderr);
        return;
    }
    const QString loadBefore = loadNow();
    // The sink settles on the latency of its new listener first.
    QTest::qWait(1500);
    QRandomGenerator random(7);
    std::vector<Press> presses;
    if (keying == Keying::Direct) {
        for (int i = 0; i < count; ++i) {
            QTest::qWait(restMs > 0 ? restMs : 40 + int(random.bounded(160)));
            Press press;
            press.down = msSince(origin, Clock::now());
            keys.straightDown();
            QTest::qWait(30 + int(random.bounded(120)));
            press.up = msSince(origin, Clock::now());
            keys.straightUp();
            presses.push_back(press);
        }
    } else {
        QTimer busy;
        QRandomGenerator busyFor(11);
        QObject::connect(&busy, &QTimer::timeout, [&] {
            const Clock::time_point until = Clock::now() + std::chrono::microseconds(busyFor.bounded(8000));
            while (Clock::now() < until) {
            }
        });
        busy.start(10);
        auto *lines = new PressedLines;
        std::unique_ptr<KeyAdapter> adapter;
        if (keying == Keying::HeldUpAdapter) {
            adapter = std::make_unique<KeyAdapter>(QStringLiteral("bench"), *keyLineMapFromText(QStringLiteral("CTS")),
                                                   keys, std::unique_ptr<ModemLineSource>(lines), player.directKey());
            adapter->start();
        }
        std::atomic<bool> done = false;
        std::thread presser([&] {
            const auto edge = [&](bool down) {
                const double at = msSince(origin, Clock::now());
                if (adapter)
                    lines->set(down);
                else
                    QMetaObject::invokeMethod(
                        &keys, [&keys, down] { down ? keys.straightDown() : keys.straightUp(); }, Qt::QueuedConnection);
                return at;
            };
            for (int i = 0; i < count; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(40 + int(random.bounded(160))));
                Press press;
                press.down = edge(true);
                std::this_thread::sleep_for(std::chrono::milliseconds(30 + int(random.bounded(120))));
                press.up = edge(false);
                presses.push_back(press);
            }
            done = true;
        });
        (void)QTest::qWaitFor([&] { return bool(done); }, 600000);
        presser.join();
        if (!adapter)
            delete lines;
    }
    QTest::qWait(300);
    recorder.stop();

    const std::vector<Tone> tones = tonesIn(recorder);
    if (qEnvironmentVariableIsSet("BENCH_DEBUG")) {
        QFile raw(QDir::temp().filePath(QStringLiteral("bench-sidetone-%1.raw").arg(QLatin1Char(name[0]))));
        raw.open(QIODevice::WriteOnly);
        raw.write(reinterpret_cast<const char *>(recorder.samples().data()), qint64(recorder.samples().size() * 2));
        std::printf("recorded %.1f ms of samples in %.1f ms\n", recorder.samples().size() / 48.0,
                    recorder.timeOf(recorder.samples().size() - 1) - recorder.timeOf(0));
    }
    // The monitor gets the mix as the server makes it, which is up to one
    // request of the stream ahead of the sink's own clock: a tone can seem
    // to start a little before its press. Each press owns the tones that
    // start from that little before it to as much before the next press.
    constexpr double early = 5;
    std::vector<double> onLatency, offLatency, lengthError, calmOnLatency;
    int dropouts = 0, missing = 0, stalled = 0, calmDropouts = 0;
    size_t t = 0;
    for (size_t i = 0; i < presses.size(); ++i) {
        const double nextDown = i + 1 < presses.size() ? presses[i + 1].down : 1e12;
        while (t < tones.size() && tones[t].start < presses[i].down - early)
            ++t;
        std::vector<Tone> heard;
        while (t < tones.size() && tones[t].start < nextDown - early)
            heard.push_back(tones[t++]);
        const double heardUntil = heard.empty() ? nextDown : heard.back().end;
        const bool calm = !host.stalledBetween(presses[i].down - calmBeforeMs, heardUntil);
        stalled += !calm;
        if (heard.empty()) {
            ++missing;
            calmDropouts += calm;
            if (qEnvironmentVariableIsSet("BENCH_DEBUG"))
                std::printf("press %.1f-%.1f: no tone\n", presses[i].down, presses[i].up);
            continue;
        }
        dropouts += int(heard.size()) - 1;
        if (calm) {
            calmDropouts += int(heard.size()) - 1;
            calmOnLatency.push_back(heard.front().start - presses[i].down);
        }
        if (qEnvironmentVariableIsSet("BENCH_DEBUG") && heard.size() > 1) {
            std::printf("press %.1f-%.1f:", presses[i].down, presses[i].up);
            for (const Tone &h : heard)
                std::printf(" [%.1f %.1f]", h.start, h.end);
            std::printf("\n");
        }
        onLatency.push_back(heard.front().start - presses[i].down);
        offLatency.push_back(heard.back().end - presses[i].up);
        lengthError.push_back(std::abs((heard.back().end - heard.front().start) - (presses[i].up - presses[i].down)));
    }
    std::printf(
        "| %-20s | %-14s | %5d | %5.1f | %5.1f | %5.1f | %5.1f | %5.1f | %5.1f | %8d | %5.1f | %5.1f | %6.1f | %7d "
        "| %9.1f | %10d |\n",
        name, qPrintable(loadBefore), count, percentile(onLatency, 0.5), percentile(onLatency, 0.99),
        percentile(onLatency, 1.0), percentile(offLatency, 0.5), percentile(offLatency, 0.99),
        percentile(offLatency, 1.0), dropouts + missing, percentile(lengthError, 0.5), percentile(lengthError, 0.99),
        percentile(lengthError, 1.0), stalled, percentile(calmOnLatency, 0.99), calmDropouts);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    askToWakeQuickly(); // as the keyer does
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(10, atoi(argv[1])) : 150;
    const int afterRest = argc > 2 ? atoi(argv[2]) : 0;

    // A sound server of our own, on a socket of our own: nothing else hears
    // it and nothing else's sound gets in. With BENCH_SERVER set, that
    // server instead (PipeWire's PulseAudio service, say), which must have
    // a null sink named "bench" as its default sink.
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("native"));
    QProcess server;
    if (qEnvironmentVariableIsSet("BENCH_SERVER")) {
        qputenv("PULSE_SERVER", qgetenv("BENCH_SERVER"));
    } else {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir.filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("PULSE_STATE_PATH"), dir.filePath(QStringLiteral("state")));
        server.setProcessEnvironment(env);
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(QStringLiteral("pulseaudio"),
                     {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--log-level=error",
                      "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                      "--load=module-null-sink sink_name=bench rate=48000 channels=1"});
        if (!server.waitForStarted()) {
            std::fputs("bench-sidetone: cannot start pulseaudio (apt-get install pulseaudio)\n", stderr);
            return 1;
        }
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(socket) && waited.elapsed() < 10000)
            QThread::msleep(20);
        qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
    }

    {
        KeyerOptions options;
        PtyLine line;
        if (!line.open())
            return 1;
        Player player(Player::Pace::RealTime, toneHz);
        if (!player.start(qEnvironmentVariable("BENCH_WAV")) || !player.playsSound()) {
            std::fputs("bench-sidetone: the keyer found no sound output\n", stderr);
            return 1;
        }
        KeyInput keys(100);
        Keyer keyer(options, line, player, keys);
        // BENCH_BAND=PRESET (or the conditions' text): the band is heard
        // between the presses, so the sound thread renders all it holds.
        if (const QString text = qEnvironmentVariable("BENCH_BAND"); !text.isEmpty()) {
            const auto band = bandPreset(text) ? bandPreset(text) : BandConditions::fromText(text);
            if (!band) {
                std::fprintf(stderr, "bench-sidetone: BENCH_BAND: not a band: %s\n", qPrintable(text));
                return 1;
            }
            keyer.setBand(*band);
            player.append({{false, qint64(player.sampleRate()) * 3600, true}});
        }
        // A null sink that nobody has asked for a latency mixes 2 s ahead;
        // the keyer's stream is heard once that has played out.
        QTest::qWait(2500);

        std::printf(
            "Key to tone and release to silence at a PulseAudio null sink, in ms; %d presses a row;\n"
            "stalled: presses during which (or %.0f ms before) a core stopped for over 2 ms, calm: the others.\n",
            count, calmBeforeMs);
        std::printf(
            "| %-20s | %-14s | %5s | %5s | %5s | %5s | %5s | %5s | %5s | %8s | %5s | %5s | %6s | %7s | %9s | %10s "
            "|\n",
            "machine", "load 1/5/15 min", "keys", "on50", "on99", "onmax", "off50", "off99", "offmax", "dropouts",
            "len50", "len99", "lenmax", "stalled", "calm on99", "calm drops");
        std::printf("|%s|\n", QByteArray(164, '-').constData());
        runRow("as it is", player, keys, count);
        if (afterRest > 0)
            runRow("after a rest", player, keys, afterRest, 11000);

        {
            const CpuBurner burner;
            runRow("every core busy", player, keys, count);
        }
        runRow("held up, bar", player, keys, count, 0, Keying::HeldUpBarKey);
        runRow("held up, adapter", player, keys, count, 0, Keying::HeldUpAdapter);
    } // the keyer's sound output is closed before its server goes

    server.terminate();
    server.waitForFinished(5000);
    return 0;
}
