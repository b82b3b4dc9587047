// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

// A fixed-size queue between exactly two threads, one that only pushes and
// one that only pops, with no lock: neither side ever waits for the other.
// A push to a full ring fails and leaves the ring as it was.
template<typename T, std::size_t Capacity>
class SpscRing
{
    static_assert((Capacity & (Capacity - 1)) == 0, "the capacity must be a power of two");

public:
    bool push(const T &item)
    {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        if (tail - m_head.load(std::memory_order_acquire) == Capacity)
            return false;
        m_items[tail % Capacity] = item;
        m_tail.store(tail + 1, std::memory_order_release);
        return true;
    }

    // For the consumer: whether a pop would fail.
    bool empty() const { return m_head.load(std::memory_order_relaxed) == m_tail.load(std::memory_order_acquire); }

    bool pop(T &item)
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return false;
        item = m_items[head % Capacity];
        m_head.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    std::array<T, Capacity> m_items{};
    alignas(64) std::atomic<std::size_t> m_head{0}; // next to pop, moved by the consumer
    alignas(64) std::atomic<std::size_t> m_tail{0}; // next to push, moved by the producer
};
