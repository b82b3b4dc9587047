// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/quickwake.h"

#include <cerrno>
#include <cstdint>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The kernel's struct sched_attr, which glibc 2.36 does not declare.
struct SchedAttr {
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtimeNs; // for an ordinary thread: the slice it asks for
    std::uint64_t deadlineNs;
    std::uint64_t periodNs;
};

// The shortest slice the kernel grants; the keyer's threads sleep nearly
// all the time, so a short one never cuts real work up.
constexpr std::uint64_t SliceNs = 100'000;

} // namespace

void askToWakeQuickly()
{
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, 0);
    if (errno != 0)
        return;
    SchedAttr attr{};
    attr.size = sizeof attr;
    attr.policy = SCHED_OTHER;
    attr.nice = nice; // kept as it is
    attr.runtimeNs = SliceNs;
    syscall(SYS_sched_setattr, 0, &attr, 0); // a refusal leaves things as they were
}
