// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

// Sleeps 1 ms at a time, each sleep due 1 ms after the last, while `goOn()`
// holds; after each wake tells `woke` how late it came (ms) and when it was
// due. After a stall it starts afresh rather than catching up in a burst.
template<typename GoOn, typename Woke>
void wakeEachMillisecond(GoOn goOn, Woke woke)
{
    using Clock = std::chrono::steady_clock;
    auto due = Clock::now();
    while (goOn()) {
        due += std::chrono::milliseconds(1);
        std::this_thread::sleep_until(due);
        const Clock::time_point now = Clock::now();
        const double lateMs = std::chrono::duration<double, std::milli>(now - due).count();
        woke(lateMs, due);
        if (lateMs > 1)
            due = now;
    }
}

// Watches for the machine itself stopping: on every core a thread at the
// sound thread's priority sleeps 1 ms at a time, and a wake more than 2 ms
// late is a stall of that core. A virtual machine's host can hold a core
// for tens of milliseconds; what a benchmark measures across such a stall
// is the host's, not the program's, and the stalls say which those are.
class StallWatch
{
public:
    using Clock = std::chrono::steady_clock;

    struct Stall {
        double from; // ms from the origin
        double to;
    };

    explicit StallWatch(Clock::time_point origin)
        : m_origin(origin)
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned core = 0; core < cores; ++core)
            m_threads.emplace_back([this, core] { watch(core); });
    }
    ~StallWatch()
    {
        m_stop = true;
        for (std::thread &thread : m_threads)
            thread.join();
    }
    StallWatch(const StallWatch &) = delete;
    StallWatch &operator=(const StallWatch &) = delete;

    // Whether any core stalled between `from` and `to` (ms from the origin).
    bool stalledBetween(double from, double to) const
    {
        std::lock_guard lock(m_mutex);
        return std::any_of(m_stalls.begin(), m_stalls.end(),
                           [&](const Stall &stall) { return stall.to > from && stall.from < to; });
    }

private:
    void watch(unsigned core)
    {
        cpu_set_t set;
        CPU_ZERO(&set);
        CPU_SET(core, &set);
        pthread_setaffinity_np(pthread_self(), sizeof set, &set);
        const sched_param priority{sched_get_priority_min(SCHED_FIFO)};
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
        wakeEachMillisecond([this] { return !m_stop; },
                            [this](double lateMs, Clock::time_point due) {
                                if (lateMs <= 2)
                                    return;
                                std::lock_guard lock(m_mutex);
                                m_stalls.push_back({msFromOrigin(due), msFromOrigin(due) + lateMs});
                            });
    }
    double msFromOrigin(Clock::time_point t) const
    {
        return std::chrono::duration<double, std::milli>(t - m_origin).count();
    }

    Clock::time_point m_origin;
    std::atomic<bool> m_stop = false;
    mutable std::mutex m_mutex;
    std::vector<Stall> m_stalls;
    std::vector<std::thread> m_threads;
};
