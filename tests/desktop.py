# SPDX-License-Identifier: GPL-3.0-or-later
# What the tests on a private X display share: programs started each in a session of their own and ended together,
# waiting for a condition with a deadline, and a private Xvfb.
import os, signal, subprocess, sys, time

procs = []

def start(args, **kw):   # each in a session of its own, so that all it starts can be ended with it
    procs.append(p := subprocess.Popen(args, start_new_session=True, **kw))
    return p

def wait_for(what, seconds, test):
    deadline = time.monotonic() + seconds
    while not (result := test()) and time.monotonic() < deadline: time.sleep(0.1)
    if not result: raise RuntimeError(f'{what} within {seconds} s')
    return result

def xvfb():              # a private X server on a free display; its name
    readable, writable = os.pipe()   # Xvfb takes a free display and says its number there
    start(['Xvfb', '-displayfd', str(writable), '-screen', '0', '1366x768x24', '-noreset'], pass_fds=[writable],
          stderr=subprocess.DEVNULL)
    os.close(writable)
    if not (number := os.fdopen(readable).readline().strip()): raise RuntimeError('Xvfb did not start')
    return ':' + number

def stop_after(seconds):  # ended by TERM, or after `seconds` (before CTest's timeout), through end_all()
    for s in (signal.SIGTERM, signal.SIGALRM): signal.signal(s, lambda signum, _: sys.exit(f'stopped by signal {signum}'))
    signal.alarm(seconds)

def end_all():           # the last started first
    signal.alarm(0)
    for p in reversed(procs):
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try: os.killpg(p.pid, sig), p.wait(5)
            except (ProcessLookupError, subprocess.TimeoutExpired): pass
