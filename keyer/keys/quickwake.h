// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Asks the kernel to run the calling thread, and the threads it starts
// after this, as soon as they wake, ahead of busy programs: a key press must
// pass the X connection's reader (or a key adapter's), the main thread and
// the sound thread, and each would otherwise wait for a busy program's time
// slice to end. Linux's scheduler (EEVDF, 6.12 on) takes a short slice from
// any program as such a request; older kernels take the call and ignore it.
// It gives the keyer no larger share of the processor. Call it on the main
// thread before any thread is started: threads take it over from the thread
// that starts them.
void askToWakeQuickly();
