// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a copy run's groups reach the sound server whole.
//
// Starts a PulseAudio server of its own with a 48 kHz null sink, the keyer
// program (--headless) on it, and plays the trainer's side of a copy run on
// the keyer's line: speed, pause, <r>, then each group after the "OK" of the
// one before. The sink's monitor is recorded and every tone checked against
// the plan (groupSegments): tones missing or split, holes inside a tone
// (the amplitude falling below 90 % away from its edges), and steps of the
// 600 Hz phase inside a tone or its fall, which is what a sample played
// twice (or skipped) at the keyer's 8 kHz does (27 degrees; a clean fall
// stays within 10). The server's log gives its
// own count of the stream's underruns and of the rewinds it made because
// the keyer wrote again what it had already taken.
//
//   build/bench/bench-playback [GROUPS per row, default 8] [ROWS: any of qQbB]
//   bench/with-private-pipewire build/bench/bench-playback 8 qb
//
// q: quiet, B: busy (three times more busy ordinary processes than cores,
// python3 loops, and a shell pipeline); lower case with the server at
// ordinary priority (as a private server runs), upper case with the server
// at real-time priority (as a desktop's runs through rtkit). Default "qbQB".
// With BENCH_SERVER (as with-private-pipewire sets it) that server is used,
// at its own priority, and its log is not there to count from (-1).
// BENCH_KEYER=PATH plays another build of the keyer; BENCH_KEYER_ORDINARY=1
// runs it without the right to real-time priority, as a trainee's account
// has it. BENCH_DEBUG=1 prints every fault found and keeps the recordings and logs.

#include "common/frames.h"
#include "core/morseplan.h"
#include "rawline.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <pulse/simple.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <sys/wait.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <future>
#include <mutex>
#include <numbers>
#include <thread>
#include <vector>

namespace {

constexpr int recordRate = 48000;
constexpr int toneHz = 600;
constexpr int period = recordRate / toneHz; // 80 samples: one cycle
constexpr int keyerRate = 8000;
constexpr int speed = 60;
constexpr int pause = 50;

// The monitor, read 10 ms at a time in a thread at real-time priority.
class Recorder
{
public:
    bool start(const QString &device)
    {
        std::promise<bool> opened;
        std::future<bool> hasOpened = opened.get_future();
        m_thread = std::thread([this, &opened, device] {
            sched_param param{sched_get_priority_max(SCHED_FIFO)};
            pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
            const pa_sample_spec spec{PA_SAMPLE_S16LE, recordRate, 1};
            pa_simple *stream = pa_simple_new(nullptr, "bench-playback", PA_STREAM_RECORD, device.toUtf8().constData(),
                                              "monitor", &spec, nullptr, nullptr, nullptr);
            opened.set_value(stream != nullptr);
            if (!stream)
                return;
            std::vector<qint16> buffer(recordRate / 100);
            while (!m_stop && pa_simple_read(stream, buffer.data(), buffer.size() * 2, nullptr) >= 0) {
                std::lock_guard lock(m_mutex);
                m_samples.insert(m_samples.end(), buffer.begin(), buffer.end());
            }
            pa_simple_free(stream);
        });
        if (!hasOpened.get()) {
            m_thread.join();
            return false;
        }
        return true;
    }
    std::vector<qint16> stop()
    {
        m_stop = true;
        m_thread.join();
        return m_samples;
    }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::vector<qint16> m_samples;
};

// Ordinary processes that keep every core busy: three per core, spinning
// in Python, and a shell pipeline that reads, compresses and hashes.
class Load
{
public:
    explicit Load(bool busy)
    {
        if (!busy)
            return;
        const int count = 3 * QThread::idealThreadCount();
        for (int i = 0; i < count; ++i)
            spawn({"python3", "-c", "while True: pass"});
        spawn({"sh", "-c", "while :; do head -c 30000000 /dev/urandom | gzip -1 | md5sum >/dev/null; done"});
    }
    ~Load()
    {
        for (pid_t pid : m_groups)
            ::kill(-pid, SIGKILL);
        for (pid_t pid : m_groups)
            ::waitpid(pid, nullptr, 0);
    }

private:
    void spawn(std::vector<const char *> argv)
    {
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setpgid(0, 0);
            ::execvp(argv[0], const_cast<char *const *>(argv.data()));
            ::_exit(127);
        }
        ::setpgid(pid, pid);
        m_groups.push_back(pid);
    }
    std::vector<pid_t> m_groups;
};

struct Findings {
    int planned = 0;
    int heard = 0;
    int missing = 0; // planned tones not found whole
    int split = 0; // tones heard in more than one piece
    int holes = 0; // dips below 90 % inside a tone
    int phaseSteps = 0; // a sample doubled or skipped, inside a tone or its fall
    double worstLengthMs = 0;
};

struct ToneFound {
    qint64 start;
    qint64 end;
};

// The 600 Hz content over the last cycle at every sample: amplitude and phase.
void demodulate(const std::vector<qint16> &s, std::vector<float> &amplitude, std::vector<float> &phase)
{
    amplitude.assign(s.size(), 0);
    phase.assign(s.size(), 0);
    double i = 0, q = 0;
    for (size_t n = 0; n < s.size(); ++n) {
        const double angle = 2 * std::numbers::pi * double(n % period) / period;
        i += s[n] * std::cos(angle);
        q += s[n] * std::sin(angle);
        if (n >= period) {
            const double old = 2 * std::numbers::pi * double((n - period) % period) / period;
            i -= s[n - period] * std::cos(old);
            q -= s[n - period] * std::sin(old);
        }
        amplitude[n] = float(2 * std::hypot(i, q) / period);
        phase[n] = float(std::atan2(q, i));
    }
}

Findings analyse(const std::vector<qint16> &s, const std::vector<qint64> &plannedLengths, bool debug)
{
    Findings found;
    found.planned = int(plannedLengths.size());
    std::vector<float> amplitude, phase;
    demodulate(s, amplitude, phase);
    float full = 0;
    for (float a : amplitude)
        full = std::max(full, a);
    std::vector<ToneFound> tones;
    bool in = false;
    for (size_t n = 0; n < s.size(); ++n) {
        const bool above = amplitude[n] > full / 2;
        if (above && !in)
            tones.push_back({qint64(n), 0});
        if (!above && in)
            tones.back().end = qint64(n);
        in = above;
    }
    if (in)
        tones.back().end = qint64(s.size());
    found.heard = int(tones.size());

    const double perKeyerSample = double(recordRate) / keyerRate;
    const qint64 edge = recordRate * 6 / 1000;
    size_t t = 0;
    for (qint64 planned : plannedLengths) {
        const double want = double(planned) * perKeyerSample;
        // A planned tone is heard whole when the next tone found has its
        // length within 1 ms; a shorter one followed by more is a split tone.
        if (t >= tones.size()) {
            ++found.missing;
            continue;
        }
        const double got = double(tones[t].end - tones[t].start);
        const double errorMs = std::abs(got - want) * 1000 / recordRate;
        if (errorMs > 1) {
            ++found.missing;
            if (debug)
                std::printf("  tone at %.3f s: %.1f ms, planned %.1f ms\n", double(tones[t].start) / recordRate,
                            got * 1000 / recordRate, want * 1000 / recordRate);
            // Pieces that add up to the planned tone are one split tone.
            qint64 end = tones[t].end;
            size_t pieces = 1;
            while (t + pieces < tones.size() && double(tones[t + pieces].start - tones[t].start) < want + period)
                end = tones[t + pieces++].end;
            if (pieces > 1)
                ++found.split;
            t += pieces;
            (void)end;
            continue;
        }
        found.worstLengthMs = std::max(found.worstLengthMs, errorMs);
        ++t;
    }

    for (const ToneFound &tone : tones) {
        // Holes: the amplitude away from the edges stays near full.
        bool dipped = false;
        for (qint64 n = tone.start + edge; n < tone.end - edge; ++n) {
            if (amplitude[size_t(n)] < 0.9 * full && !dipped) {
                ++found.holes;
                dipped = true;
                if (debug)
                    std::printf("  hole at %.4f s (%.0f %%)\n", double(n) / recordRate,
                                100 * amplitude[size_t(n)] / full);
            } else if (amplitude[size_t(n)] >= 0.9 * full) {
                dipped = false;
            }
        }
        // Phase: as in the middle of the tone, from a cycle after its rise to
        // where its fall has dropped to a quarter. A sample doubled or
        // skipped at 8 kHz moves it by 27 degrees.
        const qint64 middle = (tone.start + tone.end) / 2;
        const float reference = phase[size_t(middle)];
        qint64 stop = tone.end;
        while (stop < qint64(s.size()) && amplitude[size_t(stop)] > full / 4)
            ++stop;
        float worst = 0;
        qint64 worstAt = 0;
        for (qint64 n = tone.start + period; n < stop; ++n) {
            const float step = std::remainder(phase[size_t(n)] - reference, float(2 * std::numbers::pi));
            if (std::abs(step) > std::abs(worst)) {
                worst = step;
                worstAt = n;
            }
        }
        if (std::abs(worst) > 18 * std::numbers::pi / 180)
            ++found.phaseSteps;
        if (debug && std::abs(worst) > 8 * std::numbers::pi / 180)
            std::printf("  phase off by %.0f degrees at %.4f s, amplitude %.0f %%\n", worst * 180 / std::numbers::pi,
                        double(worstAt) / recordRate, 100 * amplitude[size_t(worstAt)] / full);
    }
    return found;
}

QString loadNow()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2)
                                          : QString();
}

int countLines(const QString &path, const QByteArray &text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(file.readAll().count(text));
}

QString randomGroup(QRandomGenerator &random)
{
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    QString group;
    for (int i = 0; i < 5; ++i)
        group += letters.at(int(random.bounded(quint32(letters.size()))));
    return group;
}

bool runRow(char row, int groups, const QString &keyer, QTemporaryDir &dir)
{
    const bool busy = QChar(row).toLower() == QLatin1Char('b');
    const bool realtime = QChar(row).isUpper();
    const QString name = QStringLiteral("row-%1").arg(int(row));
    const QString socket = dir.filePath(name + QStringLiteral(".socket"));
    const QString log = dir.filePath(name + QStringLiteral(".server.log"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir.filePath(name + QStringLiteral(".run")));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), dir.filePath(name + QStringLiteral(".state")));
    QProcess server;
    // BENCH_SERVER: a server already running (PipeWire's PulseAudio service
    // beside PipeWire, from with-private-pipewire), at its own priority.
    const QByteArray given = qgetenv("BENCH_SERVER");
    if (!given.isEmpty()) {
        qputenv("PULSE_SERVER", given);
    } else {
        server.setProcessEnvironment(env);
        server.start(QStringLiteral("pulseaudio"),
                     {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--log-level=debug",
                      "--log-target=file:" + log, realtime ? "--realtime=yes" : "--realtime=no",
                      realtime ? "--high-priority=yes" : "--high-priority=no",
                      "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                      "--load=module-null-sink sink_name=bench rate=48000 channels=1"});
        if (!server.waitForStarted()) {
            std::fputs("bench-playback: cannot start pulseaudio (apt-get install pulseaudio)\n", stderr);
            return false;
        }
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(socket) && waited.elapsed() < 10000)
            QThread::msleep(20);
        qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
    }

    const QString wav = dir.filePath(name + QStringLiteral(".wav"));
    QProcess player;
    player.setProcessChannelMode(QProcess::SeparateChannels);
    // BENCH_KEYER_ORDINARY=1: the keyer without the right to real-time
    // priority, as a trainee's account has it on Debian (no rtprio limit).
    if (qEnvironmentVariableIsSet("BENCH_KEYER_ORDINARY"))
        player.start(QStringLiteral("setpriv"),
                     {"--bounding-set=-sys_nice", "--inh-caps=-sys_nice", keyer, "--headless", "--wav", wav});
    else
        player.start(keyer, {"--headless", "--wav", wav});
    RawLine line;
    Recorder recorder;
    if (!player.waitForReadyRead(10000) || !line.open(QString::fromLocal8Bit(player.readLine()).trimmed())
        || !line.waitFor("x", 5000) || !recorder.start(QStringLiteral("bench.monitor"))) {
        std::fputs("bench-playback: the keyer did not come up on its line with sound\n", stderr);
        return false;
    }
    line.send(handshakeReply());
    line.send(speedFrame(QString::number(speed)));
    line.send(pauseFrame(pause));
    line.send(copyStartFrame());
    // The null sink first plays out what it mixed before a listener asked
    // for a short latency.
    QThread::msleep(2500);

    const QString loadBefore = loadNow();
    QRandomGenerator random(11);
    std::vector<qint64> planned;
    int answered = 0;
    {
        const Load load(busy);
        for (int g = 0; g < groups; ++g) {
            const QString group = randomGroup(random);
            for (const ToneSegment &segment : groupSegments(group, dotMilliseconds(speed) * keyerRate / 1000))
                if (segment.tone)
                    planned.push_back(segment.samples);
            line.send(groupFrame(group));
            if (line.waitFor("OK\r\n", 30000))
                ++answered;
        }
    }
    // What was played last reaches the recorder a little later; through
    // PipeWire's PulseAudio service up to about 1.5 s later here.
    QThread::msleep(given.isEmpty() ? 300 : 2500);
    const std::vector<qint16> samples = recorder.stop();
    const QString loadAfter = loadNow();
    player.terminate();
    player.waitForFinished(5000);
    const QByteArray keyerSaid = player.readAllStandardError();
    server.terminate();
    server.waitForFinished(5000);

    const bool debug = qEnvironmentVariableIsSet("BENCH_DEBUG");
    if (debug) {
        QFile raw(dir.filePath(name + QStringLiteral(".raw")));
        if (raw.open(QIODevice::WriteOnly))
            raw.write(reinterpret_cast<const char *>(samples.data()), qint64(samples.size() * 2));
        std::printf("row %c: recordings and logs in %s; the keyer said:\n%s", row, qPrintable(dir.path()),
                    keyerSaid.constData());
    }
    const Findings found = analyse(samples, planned, debug);
    std::printf("| %-5s | %-8s | %-14s | %-14s | %6d | %6d | %6d | %5d | %5d | %6d | %6.2f | %9d | %7d |\n",
                busy ? "busy" : "quiet",
                !given.isEmpty() ? "given"
                : realtime       ? "realtime"
                                 : "ordinary",
                qPrintable(loadBefore), qPrintable(loadAfter), answered, found.planned, found.missing, found.split,
                found.holes, found.phaseSteps, found.worstLengthMs, countLines(log, "Underrun on '"),
                countLines(log, "Requesting rewind due to rewrite"));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int groups = argc > 1 ? std::max(1, atoi(argv[1])) : 8;
    const QByteArray rows = argc > 2 ? QByteArray(argv[2]) : QByteArray("qbQB");
    // BENCH_KEYER: another build of the keyer, to compare.
    const QString keyer = qEnvironmentVariableIsSet("BENCH_KEYER")
                              ? qEnvironmentVariable("BENCH_KEYER")
                              : QCoreApplication::applicationDirPath() + QStringLiteral("/../vestranoli-keyer");
    QTemporaryDir dir;
    dir.setAutoRemove(!qEnvironmentVariableIsSet("BENCH_DEBUG"));

    std::printf("A copy run at speed %d, %d groups of 5 a row, at a null sink (48 kHz) of %s.\n", speed, groups,
                qEnvironmentVariableIsSet("BENCH_SERVER") ? "BENCH_SERVER" : "a private PulseAudio");
    std::printf("| load  | server   | load before    | load after     | groups | tones  | broken | split | holes | "
                "phase steps | worst len ms | underruns | rewrites |\n");
    std::printf("|---|---|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (char row : rows)
        if (!runRow(row, groups, keyer, dir))
            return 1;
    return 0;
}
