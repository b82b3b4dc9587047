#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A newcomer's session, through XTEST on Xvfb with openbox, on a Hungarian desktop: an echo drill
# of 22 groups, a weak signal chosen in the keyer's window halfway, the session's timing saved, a
# copy run with nothing ticked, one more echo group, ended by the desktop logging out while
# another program holds the history.
# Usage: walkthrough.py BUILD_DIR [SEED]; with WALKTHROUGH_KEEP set, its files are kept.
import csv
import os
import random
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
from desktop import end_all, key_area, procs, start, stop_after, wait_for, window, xvfb
from Xlib import X, XK, display, error
from Xlib.ext import xtest

SCREEN_W, SCREEN_H = 1366, 768
DOT, CODE = 0.1, {'E': '.', 'I': '..', 'T': '-'}  # speed 60: a dot is 100 ms
INI = ' E' + ' ' * 47 + '\r\n 60 5 3 50\r\n'  # "E" alone; speed 60, 5 letters, 3 groups, pause 50
WRONG = {4: 'EEIEE', 9: 'EETEE', 13: 'TEEEE', 17: 'EEEEI', 21: 'ETEEE'}
# Every group sent is "EEEEE"; the wrong ones scored as keyed too.
KEYED = [WRONG.get(n, 'EEEEE') for n in range(1, 23)]
# The keyer's rest before a group, "EEEEE" played, room for a busy machine.
BREATH, SOUNDS, SLACK = 1.0, 1.7, 1.2
# A key edge this late (half a dot) at the X server may change what was keyed: a machine that held
# the test or the server up so long has its group's decoding left unchecked, in a third of the
# groups at most.
HELD = 0.05
BUTTONS = {'Oda - Vissza': 176, 'Ellenörzés': 548, 'Start': 612}  # at y 456 in the trainer
WEAK, BAND_FROM = 'filter=500 snr=3 fading=10/6', 13  # the band the groups are played through
build = os.path.abspath(sys.argv[1])
seed = int(sys.argv[2]) if len(sys.argv) > 2 else random.randrange(10**6)
tmp = tempfile.mkdtemp(prefix='vestranoli-walk.')  # the trainer's data folder too
rng = random.Random(seed)
said, problems, name = os.path.join(tmp, 'stderr.txt'), [], None


def problem(text):
    problems.append(text)
    shot = os.path.join(tmp, f'problem-{len(problems)}.png')
    saved = name and subprocess.run(['import', '-display', name, '-window', 'root', shot],
                                    capture_output=True).returncode == 0
    print('PROBLEM:', text + (f' (screenshot {shot})' if saved else ''), flush=True)


def history(query):  # rows of the trainer's history, read as the statistics read it
    db = sqlite3.connect(f'file:{tmp}/history.sqlite?mode=ro', uri=True)
    return db.execute(query).fetchall()


def frame(w):  # the window manager's frame around w, in root coordinates
    while (parent := w.query_tree().parent).id != root.id:
        w = parent
    g = w.get_geometry()
    return g.x, g.y, g.width + 2 * g.border_width, g.height + 2 * g.border_width


def click(w, x, y):  # a person's click at (x, y) in w: the pointer moves there, held 0.1 s
    at = root.translate_coords(w, x, y)
    for event, detail, pause in ((X.MotionNotify, 0, 0.3), (X.ButtonPress, 1, 0.1),
                                 (X.ButtonRelease, 1, 0.4)):
        xtest.fake_input(d, event, detail, x=at.x, y=at.y)
        d.sync()
        time.sleep(pause)


def has_keyboard(w):
    f = d.get_input_focus().focus
    while hasattr(f, 'id') and f.id not in (0, root.id, w.id):
        f = f.query_tree().parent
    return hasattr(f, 'id') and f.id == w.id


def key(group, rng):  # on the space bar, each length off by a Gaussian 10 %; the worst lag
    def stretch(units):
        return units * DOT * max(0.5, 1 + rng.gauss(0, 0.1))
    edges, t = [], 0.0
    for i, letter in enumerate(group):
        for j, element in enumerate(CODE[letter]):
            t += stretch(1 if j else 3 if i else 0)
            up = t + stretch(3 if element == '-' else 1)
            edges += [(X.KeyPress, t), (X.KeyRelease, up)]
            t = up
    begin, late = time.monotonic(), 0.0
    space = d.keysym_to_keycode(XK.string_to_keysym('space'))
    for event, at in edges:
        time.sleep(max(0.0, begin + at - time.monotonic()))
        xtest.fake_input(d, event, space)
        d.sync()  # the X server has stamped the edge: as late as this, at most
        late = max(late, time.monotonic() - begin - at)
    return late


def screenshot(w, file):
    subprocess.run(['import', '-display', name, '-window', str(w.id), os.path.join(tmp, file)])


def xdotool(*args):
    subprocess.run(['xdotool', *args], env=env, check=True)


stop_after(280)  # before CTest's timeout, so that all started here is ended
try:
    print(f'seed {seed} (walkthrough.py BUILD_DIR {seed} keys the same way again); files in {tmp}',
          flush=True)
    with open(os.path.join(tmp, 'ini.txt'), 'wb') as ini:
        ini.write(INI.encode('cp1250'))
    os.mkdir(locales := os.path.join(tmp, 'locales'))  # a Hungarian desktop, the system as it is
    subprocess.run(['localedef', '-i', 'hu_HU', '-f', 'UTF-8',
                    os.path.join(locales, 'hu_HU.UTF-8')], check=True)
    # Each program's terminal speaks one language, the desktop's, in --help and in Qt's part of a
    # line alike.
    for locale, said_wrong, helps in (
            ('hu_HU.UTF-8', 'Ismeretlen kapcsoló: „bogus”. (segítség: --help)', 'Használat:'),
            ('C.UTF-8', "Unknown option 'bogus'. (try --help)", 'Usage:')):
        terminal = dict(os.environ, LOCPATH=locales, LC_ALL=locale, QT_QPA_PLATFORM='offscreen')
        for program in 'vestranoli', 'vestranoli-keyer':
            wrong = subprocess.run([f'{build}/{program}', '--bogus'], env=terminal,
                                   capture_output=True, text=True)
            shown = subprocess.run([f'{build}/{program}', '--help'], env=terminal,
                                   capture_output=True, text=True)
            if said_wrong not in wrong.stderr:
                problem(f'on {locale}, {program} --bogus says {wrong.stderr!r}')
            if not shown.stdout.startswith(helps):
                problem(f'on {locale}, {program} --help begins {shown.stdout[:40]!r}')
    name = xvfb()
    env = dict(os.environ, DISPLAY=name, QT_QPA_PLATFORM='xcb', VESTRANOLI_BUILD=build,
               LOCPATH=locales, LC_ALL='hu_HU.UTF-8')
    root = (d := display.Display(name)).screen().root
    start(['openbox', '--sm-disable'], env=dict(env, XDG_CONFIG_HOME=tmp, XDG_CACHE_HOME=tmp),
          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)  # its own defaults
    wait_for('openbox did not start', 20,
             lambda: root.get_full_property(d.intern_atom('_NET_SUPPORTING_WM_CHECK'), 0))
    start([os.path.join(os.path.dirname(__file__), '../scripts/train-with-software-keyer'),
           '--', '--data-dir', tmp], env=env, stdout=subprocess.DEVNULL, stderr=open(said, 'w'))
    wait_for('the keyer did not say the trainer answered', 30,
             lambda: 'az oktatóprogram válaszolt' in open(said).read())
    trainer = wait_for('no trainer window', 20, lambda: window(d, 'Vestranoli Morse-gyakorló'))
    keyer = wait_for('no keyer window', 20, lambda: window(d, 'Vestranoli billentyűző'))
    time.sleep(1.0)  # openbox has placed both
    frames = {'trainer': frame(trainer), 'keyer': frame(keyer)}
    for who, (x, y, w, h) in frames.items():
        print(f'{who} window: {w}x{h} at ({x}, {y})', flush=True)
        if x < 0 or y < 0 or x + w > SCREEN_W or y + h > SCREEN_H:
            problem(f'the {who} window is not whole on the screen')
    (ax, ay, aw, ah), (bx, by, bw, bh) = frames.values()
    if ax < bx + bw and bx < ax + aw and ay < by + bh and by < ay + ah:
        problem('the trainer and keyer windows overlap')
    click(trainer, BUTTONS['Oda - Vissza'], 456)  # the first group sounds at once
    ready, held = time.monotonic() + SOUNDS + SLACK, set()
    for n, group in enumerate(KEYED, 1):
        time.sleep(max(0.0, ready - time.monotonic()))
        if n == 1 and not has_keyboard(keyer):
            problem('the keyer window did not take the keyboard when the run began')
        if n == 3:  # the trainer takes the keyboard; a click on the key area gives it back
            click(trainer, 290, 210)  # the label "Betűk száma"
            if not has_keyboard(trainer):
                problem('a click on the trainer window did not give it the keyboard')
            click(keyer, *key_area(keyer))
            if not has_keyboard(keyer):
                problem('a click on the key area did not give the keyer window the keyboard')
        if n == BAND_FROM - 1:  # while this group is keyed, the next is chosen to come weak
            xdotool('key', 'alt+s', 'Down')
        late = key(group, rng)
        if late > HELD:
            held.add(n)
        lag = f', up to {late * 1000:.0f} ms late' if late > 0.03 else ''
        print(f'group {n}: keyed {group}{lag}', flush=True)
        ready = time.monotonic() + BREATH + SOUNDS + SLACK
        if procs[-1].poll() is not None:
            raise RuntimeError(f'the launcher ended early, with status {procs[-1].returncode}')
        # Scored and reviewed: the keyer window stays whole on the screen, as large as it opened.
        wait_for(f'group {n} was not scored', 10,
                 lambda: len(history('SELECT rowid FROM echo_group')) >= n)
        if (now := frame(keyer)) != frames['keyer']:
            problem(f'after group {n} the keyer window is {now}')
        if n == 20:
            screenshot(keyer, 'keyer-20.png')
    time.sleep(BREATH + SOUNDS)  # the next group sounds, and is not keyed
    rows = history('SELECT sent, decoded, good FROM echo_group ORDER BY at, rowid')
    if len(rows) != len(KEYED):
        problem(f'the history holds {len(rows)} echo groups, {len(KEYED)} were keyed: {rows}')
    if len(held) > len(KEYED) // 3:
        problem(f'the machine held the keying up over {HELD * 1000:.0f} ms in groups {held}')
    expected = [('EEEEE', k, int(k == 'EEEEE')) for k in KEYED]
    for n, (want, row) in enumerate(zip(expected, rows), 1):
        if row != want and n not in held:
            verdict = 'good' if row[2] else 'bad'
            problem(f'group {n}: keyed {want[1]}, recorded as {row[1]} ({verdict}), sent {row[0]}')
    right = sum(row == want for want, row in zip(expected, rows))
    print(f'{len(KEYED)} groups keyed, {right} scored as keyed; held up, not checked: {held}',
          flush=True)
    bands = [band for band, in history('SELECT conditions FROM echo_group ORDER BY at, rowid')]
    if bands != ['clean'] * (BAND_FROM - 1) + [WEAK] * (len(KEYED) - BAND_FROM + 1):
        problem(f'the groups were kept with the bands {bands}')

    # The last group drawn against the ideal (its keyed presses orange), and the session's timing
    # saved as CSV through Qt's file dialog: a row per group keyed, the dashes measured where a
    # group holds a T.
    inside = keyer.get_geometry()
    shown = keyer.get_image(0, 0, inside.width, inside.height, X.ZPixmap, 0xffffffff).data
    if not any(shown[i:i + 3] == b'\x00\x60\xc0' for i in range(0, len(shown), 4)):
        problem('the keyer window draws no keyed group')
    xdotool('key', 'alt+m')
    wait_for('no dialog to save the timing in', 10, lambda: window(d, 'Az időzítés mentése'))
    timing = os.path.join(tmp, 'timing.csv')
    xdotool('key', 'ctrl+a')
    xdotool('type', '--delay', '20', timing)
    xdotool('key', 'Return')
    wait_for('the timing was not saved', 10, lambda: os.path.exists(timing))
    screenshot(keyer, 'keyer-timing.png')
    with open(timing, newline='') as saved:
        timed = list(csv.DictReader(saved))
    checked = [n for n in range(1, len(KEYED) + 1) if n not in held]
    saved = [row['keyed'] for row in timed]
    if len(saved) != len(KEYED) or any(saved[n - 1] != KEYED[n - 1] for n in checked):
        problem(f'the timing saved holds {saved}')
    dashes = [float(timed[n - 1]['dash ratio']) for n in checked if 'T' in KEYED[n - 1]]
    if not dashes or abs(sum(dashes) / len(dashes) - 3) > 0.4:  # each T off by 10 %, its dots too
        problem(f'the dashes keyed at 3 dots were measured at {dashes}')

    # "E" unticked, so nothing is, and a copy run of three groups: silence, kept out of the
    # history.
    click(trainer, 42, 73)
    click(trainer, BUTTONS['Start'], 456)

    def green():  # a point of the button's face, inside its frame: blue, green, red
        face = trainer.get_image(BUTTONS['Ellenörzés'] - 30, 446, 1, 1, X.ZPixmap, 0xffffffff)
        b, g, r = face.data[:3]
        return g > 140 and r < 90 and b < 90
    wait_for('"Ellenörzés" did not turn green at the end of the copy run', 30, green)
    time.sleep(1.5)  # the keyer, sure no group follows, says the run is over
    screenshot(keyer, 'keyer-copy-over.png')
    if copies := history('SELECT groups FROM copy_run'):
        problem(f'the history keeps a copy run of nothing: {copies}')
    if len(history('SELECT rowid FROM echo_group')) != len(KEYED):
        problem('the history has more echo groups than keyed')

    # "E" ticked again, and one more echo group keyed while another program holds the history.
    click(trainer, 42, 73)
    holder = sqlite3.connect(f'{tmp}/history.sqlite', isolation_level=None)
    holder.execute('BEGIN EXCLUSIVE')
    click(trainer, BUTTONS['Oda - Vissza'], 456)
    time.sleep(SOUNDS + SLACK)
    held_last = key('EEEEE', rng) > HELD
    wait_for('the last group did not wait for the history', 10,
             lambda: 'nem írható az előzmény' in open(said).read())
    os.kill(procs[-1].pid, signal.SIGTERM)  # the desktop logs out; the lock goes a moment later
    holder.execute('ROLLBACK')
    if (status := procs[-1].wait(20)) != 143 or os.path.exists(f'{tmp}/vestranoli.lock'):
        problem(f'TERM to the launcher: exit status {status}, {os.listdir(tmp)} left')
    last = history('SELECT sent, decoded FROM echo_group ORDER BY at DESC, rowid DESC LIMIT 1')
    if last != [('EEEEE',) * 2] and not held_last:
        problem(f'the group keyed while the history was held was recorded as {last}')
    if len(history('SELECT rowid FROM echo_group')) != len(KEYED) + 1:
        problem('the group keyed last is not in the history')
except (RuntimeError, sqlite3.Error, error.XError, subprocess.TimeoutExpired) as failure:
    problem(str(failure))
finally:
    end_all()  # the launcher ends the keyer with it
stderr = open(said).read() if os.path.exists(said) else ''
print(f'stderr of the programs:\n{stderr}', end='')
english = {'the', 'is', 'cannot', 'no', 'and'}
for line in stderr.splitlines():  # Hungarian, Qt's own warnings aside
    if not line.startswith('qt.') and set(line.lower().split()) & english:
        problem(f'an English line on stderr: {line}')
if problems:
    sys.exit(f'walkthrough FAILED ({len(problems)} problems, seed {seed}, files in {tmp}):\n  '
             + '\n  '.join(problems))
if not os.environ.get('WALKTHROUGH_KEEP'):
    shutil.rmtree(tmp)
