#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# What a blind trainee hears: Orca itself, with what it says read from its debug log, on Xvfb with
# openbox and a D-Bus session, AT-SPI bus, sound server and speech-dispatcher of its own; keys
# through XTEST (xdotool).  Usage: screenreader.py BUILD_DIR
import os
import re
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
from desktop import end_all, start, stop_after, wait_for, xvfb

build, here = os.path.abspath(sys.argv[1]), os.path.dirname(os.path.abspath(__file__))
tmp, problems = tempfile.mkdtemp(prefix='vestranoli-orca.'), []
log = os.path.join(tmp, 'orca.log')
SAID = re.compile(r"(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*)'\{")


def start_orca():  # with everything it needs of its own; its log is written line by line
    display = xvfb()
    bus = start(['dbus-daemon', '--session', '--nofork', '--print-address'],
                stdout=subprocess.PIPE, text=True, stderr=subprocess.DEVNULL)
    os.environ.update(DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=bus.stdout.readline().strip(),
                      XDG_CONFIG_HOME=tmp, XDG_DATA_HOME=tmp, XDG_CACHE_HOME=tmp,
                      XDG_RUNTIME_DIR=tmp, PULSE_SERVER=f'unix:{tmp}/pulse.sock',
                      SPEECHD_ADDRESS=f'unix_socket:{tmp}/speechd.sock', LC_ALL='C.UTF-8',
                      VESTRANOLI_BUILD=build)
    os.environ.pop('QT_QPA_PLATFORM', None)
    start(['openbox', '--sm-disable'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    start(['/usr/libexec/at-spi-bus-launcher', '--launch-immediately'], stderr=subprocess.DEVNULL)
    start(['pulseaudio', '-n', '--daemonize=no', '--exit-idle-time=-1', '--log-level=error',
           '--load=module-null-sink',
           f'--load=module-native-protocol-unix auth-anonymous=1 socket={tmp}/pulse.sock'])
    shutil.copytree('/etc/speech-dispatcher', config := os.path.join(tmp, 'speechd'))
    with open(os.path.join(config, 'speechd.conf'), 'a') as conf:
        conf.write('AudioOutputMethod "pulse"\n'
                   'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                   'DefaultModule espeak-ng\n')
    wait_for('no sound server', 10, lambda: os.path.exists(f'{tmp}/pulse.sock'))
    start(['speech-dispatcher', '-s', '-t', '0', '-c', 'unix_socket', '-S', f'{tmp}/speechd.sock',
           '-C', config], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Orca opens its debug file block-buffered; never --replace: it would end the Orca of any
    # other desktop here.
    launcher = ('import builtins, runpy, sys\n'
                'plain = builtins.open\n'
                'builtins.open = lambda f, m="r", *a, **k: (\n'
                f'    plain(f, m, 1) if f == {log!r} else plain(f, m, *a, **k))\n'
                f'sys.argv = ["orca", "-u", {tmp + "/orca"!r}, "--debug-file={log}"]\n'
                'runpy.run_path("/usr/bin/orca", run_name="__main__")\n')
    start(['/usr/bin/python3', '-c', launcher],
          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for('Orca did not say "Screen reader on."', 30,
             lambda: 'Screen reader on.' in texts(said()))


def said():  # (seconds since midnight, text) of every SPEECH OUTPUT so far
    if not os.path.exists(log):
        return []
    with open(log, errors='replace') as f:
        return [(int(h) * 3600 + int(m) * 60 + float(s), text) for h, m, s, text in
                (found.groups() for found in map(SAID.match, f) if found)]


def texts(lines):
    return [text for _, text in lines]


def key(name, until=None, seconds=3.0):  # what Orca says after the key, once it has said `until`
    before = len(said())
    subprocess.run(['xdotool', 'key', name], check=True)

    def heard():
        return texts(said()[before:])
    try:
        wait_for(f'Orca said nothing after {name}' + (f' like "{until}"' if until else ''),
                 seconds, lambda: any(re.search(until or '.', text) for text in heard()))
    except RuntimeError as failure:
        raise RuntimeError(f'{failure}; it said {heard()}') from None
    time.sleep(0.15)  # the rest of what it says of this key; a key Orca grabs may swallow the next
    return heard()


def press(button, back, until, seconds):  # Tab (Shift+Tab) to a button and Space; what Orca says
    while not any(text.startswith(button) for text in key('shift+Tab' if back else 'Tab')):
        pass
    return key('space', until, seconds)


def heard_since(mark, pattern, what, seconds=20):  # until Orca has said a match since mark
    wait_for(f'Orca never said {what}', seconds,
             lambda: any(re.match(pattern, text) for text in texts(said()[mark:])))


def open_window(option, first):  # a trainer's window on scoring_dir, once Orca has said `first`
    mark = len(said())
    start([os.path.join(build, 'vestranoli'), option, '--data-dir', scoring_dir],
          stdout=subprocess.DEVNULL)
    heard_since(mark, first, f'"{first}" in a new window')


def walk(window, names, back=False):  # once around a window by Tab (Shift+Tab); what Orca says
    order = names[::-1] if back else names[1:] + names[:1]
    heard = []
    tab = 'Shift+Tab' if back else 'Tab'
    for name in order:
        # Waits for the control itself: a notice (a group's score) may come before it.
        control = '^' + (name.pattern if hasattr(name, 'match') else re.escape(name))
        before = len(said())
        try:
            key('shift+Tab' if back else 'Tab', until=control)
        except RuntimeError:
            problems.append(f'{window}: {tab} to "{name}": Orca said {texts(said()[before:])}')
            break
        finally:
            heard.append(' | '.join(texts(said()[before:])))
    print(f'{window}, {tab}: ' + ' / '.join(heard), flush=True)


stop_after(170)
try:
    start_orca()
    os.mkdir(trainer_dir := os.path.join(tmp, 'trainer'))
    with open(os.path.join(trainer_dir, 'ini.txt'), 'wb') as ini:
        # T, E, M, S ticked; speed 60, 3 letters, 1 group
        ini.write(b'TEMS' + b' ' * 45 + b'\r\n 60 3 1 40\r\n')
    launcher = start([os.path.join(here, '../scripts/train-with-software-keyer'), '--auto-echo',
                      '--error-rate', '0.3', '--', '--data-dir', trainer_dir],
                     stdout=subprocess.DEVNULL)
    heard_since(0, 'Sebesség \\+ push button', 'the trainer\'s first control', 30)
    trainer = (['Sebesség +', 'Sebesség -', 'Mind kijelölés', 'Ellenörzés']
               + list('TEMSIOHAUVNDBWJGZCQYRFLPKXÁÉÖÜ1234567890.?:-=/@')
               + ['Betűk száma 3', 'Csoportok 1', 'Kilép', 'Vett szöveg', 'Start', 'Stop',
                  'Sebesség 60', 'A soros vonal', 'Betűk száma +', 'Betűk száma -', 'Csoportok +',
                  'Csoportok -', 'Oda - Vissza', 'Szünet +', 'Szünet -', 'Szünet 40',
                  'Alapbeállítás', 'jó csoportok 0', 'rossz csoportok 0', 'Az adott csoport',
                  'Nem használt mező'])
    walk('trainer', trainer)
    walk('trainer', trainer, back=True)
    print('+:', key('space', until='Sebesség 61'), flush=True)
    # A copy run, to its end.
    print('Start:', press('Start', True, 'notification A futás véget ért', 20), flush=True)
    print('Oda - Vissza:', press('Oda - Vissza', False, 'Key', 3), flush=True)
    mark = len(said())

    def results():
        return [(at, text[len('notification '):]) for at, text in said()[mark:]
                if re.match(r'notification \S+( helyett |: jó)', text)]
    wait_for('Orca said no four echo results', 60, lambda: len(results()) >= 4)
    around = texts(said()[mark - 5:mark + 2])
    if not any(text.startswith('Key push button') for text in around):
        problems.append('the echo run began with the focus elsewhere than on the key')
    with sqlite3.connect(os.path.join(trainer_dir, 'history.sqlite')) as db:
        scored = db.execute('SELECT at, sent, decoded FROM echo_group ORDER BY at').fetchall()
    for (at, sent, decoded), (spoken_at, text) in zip(scored, results()):
        wrong = ', '.join(f'{s} helyett {d}' for s, d in zip(sent, decoded) if s != d)
        want = f'{sent}: jó.' if sent == decoded else f'{sent} helyett {decoded}: {wrong}.'
        late = spoken_at - at / 1000 % 86400
        if text.rstrip('.') != want.rstrip('.') or not 0 <= late < 2:
            problems.append(f'{sent} keyed as {decoded}: "{text}" {late:.2f} s later')
    # Each review says the group's timing too.
    review = re.compile(r'\S+ keyed as \S+: (right|wrong).*; Timing: \d+ letters per minute')
    keyer_window = ['Key push button', review, 'Play back push button',
                    'Save timing... push button', 'Band: clean combo box',
                    'Band settings push button', 'Tone: 600 Hz', 'Volume']
    walk('keyer', keyer_window)
    key('Tab')  # into the reviews, at the newest; the one before it
    key('Down', until='^' + review.pattern)
    key('shift+Tab')
    walk('keyer', keyer_window, back=True)
    # The band by its mnemonic; the preset chosen with an arrow is said with what it plays.
    key('alt+b', until='Band: clean combo box')
    key('Down', until='^notification Plays: SNR 3 dB')
    keyer = subprocess.run(['pgrep', '-s', str(launcher.pid), '-x', 'vestranoli-keye'],
                           capture_output=True, text=True)
    os.kill(int(keyer.stdout.split()[0]), signal.SIGKILL)
    heard_since(mark, 'notification Nincs kapcsolat', 'the line lost', 10)
    os.killpg(launcher.pid, signal.SIGTERM)  # the trainer too, before it finds another line there

    # Two copy runs the previous release stored, none scored: the earlier (KMRSU AB/?= Á:-@9)
    # copied with Á as A.
    os.mkdir(scoring_dir := os.path.join(tmp, 'scoring'))
    shutil.copy(os.path.join(here, 'data/history-layout1.sqlite'),
                os.path.join(scoring_dir, 'history.sqlite'))
    open_window('--score-copy', r'Másolás: \S+ \S+ – \d+ betű/perc, \d+ csoport combo box')
    scoring = [re.compile('Másolás: .* combo box'), 'Az Ön vétele', 'Pontozás',
               'Az adott és a vett csoportok', 'Jelenként']
    walk('copy scoring', scoring)
    walk('copy scoring', scoring, back=True)
    print('another run:', key('Down', until='notification .* betű/perc'), flush=True)
    key('alt+v')
    subprocess.run(['xdotool', 'type', '--delay', '40', 'kmrsu ab/?=\na:-@9'], check=True)
    key('Tab')
    print('scored:', key('Return', until='notification Helyes jelek'), flush=True)
    marked = key('Tab', until='Az adott és a vett csoportok')
    if not any('3. csoport, Á:-@9: Á helyett A' in text for text in marked):
        problems.append(f'the marked copy: {marked}')

    with sqlite3.connect(os.path.join(scoring_dir, 'history.sqlite')) as db:
        # Q keyed as T ten times: the weakest.
        db.executemany('INSERT INTO echo_group VALUES (?, ?, ?, 0, 60, 1, 50, NULL)',
                       [(int(time.time() * 1000) - n, 'Q', 'T') for n in range(10)])
    open_window('--stats', 'Időszak')
    stats = ['Időszak', 'Másolás pontozása…', 'Koch-tanfolyam…', 'Exportálás CSV-be…',
             'Jelek statisztikája', 'A leggyengébb jelek', 'Vétel a sáv zaja szerint',
             'Haladás naponta']
    walk('statistics', stats)
    walk('statistics', stats, back=True)
    weakest = press('A leggyengébb jelek', False, 'notification Q bejelölve', 3)
    print('weakest:', weakest, flush=True)
except RuntimeError as failure:
    problems.append(str(failure))
finally:
    end_all()
if problems:
    sys.exit(f'screen reader FAILED (files in {tmp}):\n  ' + '\n  '.join(problems))
shutil.rmtree(tmp)
