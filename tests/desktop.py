# SPDX-License-Identifier: GPL-3.0-or-later
# What the tests (and the benchmarks) on a private X display share: programs started each in a
# session of their own and ended together, waiting for a condition with a deadline, a private
# Xvfb, and finding windows on it.
import os
import signal
import subprocess
import sys
import time

# Debian's python3-xlib, when another python3 is first on PATH.
sys.path.append('/usr/lib/python3/dist-packages')
from Xlib import X  # noqa: E402

procs = []


def start(args, **kw):  # each in a session of its own, so that all it starts ends with it
    procs.append(p := subprocess.Popen(args, start_new_session=True, **kw))
    return p


def wait_for(what, seconds, test):
    deadline = time.monotonic() + seconds
    while not (result := test()) and time.monotonic() < deadline:
        time.sleep(0.1)
    if not result:
        raise RuntimeError(f'{what} within {seconds} s')
    return result


def xvfb():  # a private X server on a free display; its name
    readable, writable = os.pipe()  # Xvfb takes a free display and says its number there
    start(['Xvfb', '-displayfd', str(writable), '-screen', '0', '1366x768x24', '-noreset'],
          pass_fds=[writable], stderr=subprocess.DEVNULL)
    os.close(writable)
    if not (number := os.fdopen(readable).readline().strip()):
        raise RuntimeError('Xvfb did not start')
    return ':' + number


def window(d, *prefixes):  # the mapped top-level window on d whose title starts with a prefix
    ids = d.screen().root.get_full_property(d.intern_atom('_NET_CLIENT_LIST'), X.AnyPropertyType)
    for w in (d.create_resource_object('window', i) for i in (ids.value if ids else [])):
        title = w.get_full_property(d.intern_atom('_NET_WM_NAME'), 0)
        mapped = w.get_attributes().map_state == X.IsViewable
        if title and bytes(title.value).decode().startswith(prefixes) and mapped:
            return w


def key_area(w):  # the middle of the keyer's key area: the first white 40 px, a quarter across
    g = w.get_geometry()
    # 4 bytes a pixel
    column = w.get_image(g.width // 4, 0, 1, g.height, X.ZPixmap, 0xffffffff).data
    white = ''.join('w' if column[i:i + 3] == b'\xff\xff\xff' else '.'
                    for i in range(0, len(column), 4))
    if (top := white.find('w' * 40)) < 0:
        raise RuntimeError('no key area to be seen in the keyer window')
    return g.width // 2, (top + white.find('.', top)) // 2


def stop_after(seconds):  # ended by TERM or after `seconds` (before CTest's timeout), by end_all()
    for s in (signal.SIGTERM, signal.SIGALRM):
        signal.signal(s, lambda signum, _: sys.exit(f'stopped by signal {signum}'))
    signal.alarm(seconds)


def end_all():  # the last started first
    signal.alarm(0)
    for p in reversed(procs):
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(p.pid, sig)
                p.wait(5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                pass
