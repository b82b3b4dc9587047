// SPDX-License-Identifier: GPL-3.0-or-later
// How late a thread at the sound thread's priority wakes from a 1 ms sleep:
// the longest stall of the machine that a sound buffer has to ride out.
// Once on the machine as it is, once with a spinning thread on every core.
//
//   build/bench/bench-wakeup [seconds per row, default 30]

#include "cpuburner.h"
#include "stallwatch.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

void row(const char *name, int seconds)
{
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    long wakes = 0, over2 = 0, over5 = 0, over10 = 0;
    double worst = 0;
    wakeEachMillisecond([&] { return Clock::now() < end; },
                        [&](double late, Clock::time_point) {
                            ++wakes;
                            over2 += late > 2;
                            over5 += late > 5;
                            over10 += late > 10;
                            worst = std::max(worst, late);
                        });
    std::printf("| %-16s | %7ld | %6ld | %6ld | %7ld | %9.1f |\n", name, wakes, over2, over5, over10, worst);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    // Measured in a thread of its own at the lowest real-time priority, as
    // the keyer's sound thread asks for; the burners, started from here,
    // stay ordinary (a real-time one would starve the machine).
    const auto measure = [seconds](const char *name) {
        std::thread([&] {
            const sched_param priority{sched_get_priority_min(SCHED_FIFO)};
            pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
            row(name, seconds);
        }).join();
    };
    std::printf("Wake-ups from 1 ms sleeps at real-time priority where allowed, %d s a row; lateness in ms.\n",
                seconds);
    std::printf("| %-16s | %7s | %6s | %6s | %7s | %9s |\n", "machine", "wakes", "> 2", "> 5", "> 10", "latest");
    std::printf("|------------------|---------|--------|--------|---------|-----------|\n");
    measure("as it is");
    const CpuBurner burner;
    measure("every core busy");
    return 0;
}
