// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

// Keeps every core busy while it lives: one spinning thread per core, at
// ordinary priority (create it from a thread that has ordinary priority:
// threads inherit it, and real-time spinners would starve the machine).
class CpuBurner
{
public:
    CpuBurner()
    {
        for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i)
            m_threads.emplace_back([this] {
                volatile double x = 1;
                while (m_burn)
                    x = x * 1.0000001 + 1e-9;
            });
    }
    ~CpuBurner()
    {
        m_burn = false;
        for (std::thread &thread : m_threads)
            thread.join();
    }
    CpuBurner(const CpuBurner &) = delete;
    CpuBurner &operator=(const CpuBurner &) = delete;

private:
    std::atomic<bool> m_burn = true;
    std::vector<std::thread> m_threads;
};
