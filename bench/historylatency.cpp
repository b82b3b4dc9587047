// SPDX-License-Identifier: GPL-3.0-or-later
// How long the next group frame takes after the last "V" of an echo group,
// with the training history written and without it.
//
// The trainer's window runs on the main thread with its serial port on a
// pseudo-terminal; a second thread plays the keyer on the master side: it
// keys every character back as "R", "V" (each text written once the trainer
// has handled the one before, so that it is a read of its own) and times
// from the write of the group's last "V" to the arrival of the next frame's
// ">", and also to the return of the trainer's write() of the frame (this
// program puts its own write() in front of the C library's), which leaves
// out how soon the keyer's thread is woken. The history is switched on and
// off in alternating blocks, so that load from other programs falls on both
// alike.
//
//   build/bench/vestranoli-bench-history [groups per mode, default 1000]

#include "core/pseudoterminal.h"
#include "window/form1.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// When the trainer last wrote bytes ending in ">" to its line.
std::atomic<Clock::rep> frameWritten = 0;
std::atomic<int> trainerLine = -1;

} // namespace

extern "C" ssize_t write(int fd, const void *buffer, size_t size)
{
    static const auto libcWrite = reinterpret_cast<ssize_t (*)(int, const void *, size_t)>(dlsym(RTLD_NEXT, "write"));
    const ssize_t written = libcWrite(fd, buffer, size);
    if (fd == trainerLine && written > 0 && static_cast<const char *>(buffer)[written - 1] == '>')
        frameWritten = Clock::now().time_since_epoch().count();
    return written;
}

namespace {

void writeText(int fd, const char *text)
{
    const ssize_t n = ::write(fd, text, std::strlen(text));
    (void)n;
}

// Reads from the master until `last` has come; false after 5 s of silence.
bool readUntil(int fd, char last)
{
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0)
            return false;
        char byte;
        while (::read(fd, &byte, 1) == 1) {
            if (byte == last)
                return true;
        }
    }
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int block = 10;
    const int groupsPerMode = std::max(block, argc > 1 ? std::atoi(argv[1]) : 1000);

    QString error;
    const std::optional<PseudoTerminal> pty = openPseudoTerminal(&error);
    if (!pty) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir dir;
    Form1 form(Options{dir.path(), pty->slavePath});
    form.Form_Load();
    if (!form.history.isOpen())
        return 1;

    const int groupsize = form.run.groupsize();
    // Reads the trainer has handled to their end, history included.
    std::atomic<int> handled = 0;
    QObject::connect(&form.MSComm1, &MSComm::OnComm, &form, [&handled] { ++handled; });
    const auto send = [&handled](int fd, const char *text) {
        const int before = handled;
        writeText(fd, text);
        while (handled == before)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    };
    // The trainer's own descriptor of the line: the highest one it has open
    // on the pseudo-terminal's device.
    for (int fd = 3; fd < 1024; ++fd) {
        char link[64];
        const ssize_t n = ::readlink(qPrintable(QStringLiteral("/proc/self/fd/%1").arg(fd)), link, sizeof link - 1);
        if (n > 0 && QByteArray(link, int(n)) == pty->slavePath.toLocal8Bit() && fd != pty->slave)
            trainerLine = fd;
    }
    if (trainerLine < 0) {
        std::fprintf(stderr, "the trainer's line is not open\n");
        return 1;
    }
    std::vector<double> withHistory, withoutHistory, writtenWith, writtenWithout;
    bool failed = false;
    std::thread keyer([&] {
        const int fd = pty->master;
        writeText(fd, "x");
        failed = !readUntil(fd, '>'); // <qq>
        QMetaObject::invokeMethod(&form, [&] {
            form.Command3_Click(); // every character
            form.Command13_Click(); // Oda - Vissza
        });
        failed = failed || !readUntil(fd, '>') || !readUntil(fd, '>'); // <s>, the first group
        for (int g = 0; g < 2 * groupsPerMode && !failed; ++g) {
            const bool recording = (g / block) % 2 == 1;
            if (g % block == 0) {
                QMetaObject::invokeMethod(&form, [&form, recording, path = form.historyPath()] {
                    if (recording)
                        form.history.open(path);
                    else
                        form.history.close();
                });
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            for (int c = 0; c < groupsize; ++c) {
                send(fd, "R");
                if (c + 1 < groupsize)
                    send(fd, "V");
            }
            const Clock::time_point start = Clock::now();
            writeText(fd, "V");
            failed = !readUntil(fd, '>');
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            (recording ? withHistory : withoutHistory).push_back(ms);
            const Clock::duration toWrite(frameWritten.load() - start.time_since_epoch().count());
            (recording ? writtenWith : writtenWithout)
                .push_back(std::chrono::duration<double, std::milli>(toWrite).count());
            while (handled < 1 + 2 * groupsize * (g + 1))
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit);
    });
    app.exec();
    keyer.join();
    if (failed) {
        std::fprintf(stderr, "the trainer stopped answering\n");
        return 1;
    }

    const auto table = [](const char *title, const std::vector<double> &off, const std::vector<double> &on) {
        std::printf("%s, ms\n%-12s %8s %8s %8s %8s\n", title, "history", "p50", "p90", "p99", "max");
        for (const auto &[name, values] : {std::pair{"off", off}, std::pair{"on", on}}) {
            std::printf("%-12s %8.3f %8.3f %8.3f %8.3f\n", name, percentile(values, 0.5), percentile(values, 0.9),
                        percentile(values, 0.99), percentile(values, 1.0));
        }
        std::printf("%-12s %8.3f %8.3f %8.3f\n\n", "on - off", percentile(on, 0.5) - percentile(off, 0.5),
                    percentile(on, 0.9) - percentile(off, 0.9), percentile(on, 0.99) - percentile(off, 0.99));
    };
    std::printf("%d echo groups with the history and %d without, in alternating blocks of %d\n\n", groupsPerMode,
                groupsPerMode, block);
    table("last \"V\" written to the frame's \">\" written by the trainer", writtenWithout, writtenWith);
    table("last \"V\" written to the frame's \">\" read by the keyer", withoutHistory, withHistory);
    std::printf("groups in the history: %lld\n", qlonglong(form.history.echoGroups().size()));
    return 0;
}
