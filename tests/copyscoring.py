#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Scoring a copy and starting the Koch course as a trainee does it: keys through XTEST (xdotool) on Xvfb with
# openbox, into a history the previous release wrote.  Usage: copyscoring.py BUILD_DIR
import os, shutil, signal, sqlite3, subprocess, sys, tempfile, time

build, here = os.path.abspath(sys.argv[1]), os.path.dirname(os.path.abspath(__file__))
tmp, procs, problems = tempfile.mkdtemp(prefix='vestranoli-copy.'), [], []
history = os.path.join(tmp, 'history.sqlite')

def start(args, **kw):   # each in a session of its own, so that all it starts can be ended with it
    procs.append(subprocess.Popen(args, start_new_session=True, **kw))

def wait_for(what, seconds, test):
    deadline = time.monotonic() + seconds
    while not (result := test()) and time.monotonic() < deadline: time.sleep(0.1)
    if not result: raise RuntimeError(f'{what} within {seconds} s')
    return result

def xdotool(*args):
    return subprocess.run(['xdotool', *args], env=env, capture_output=True, text=True).stdout.split()

def open_window(option, title):   # the window, active, with the keyboard
    start([os.path.join(build, 'vestranoli'), option, '--data-dir', tmp], env=env, stdout=subprocess.DEVNULL)
    window = wait_for(f'no window "{title}"', 20, lambda: xdotool('search', '--name', title))[0]
    xdotool('windowactivate', '--sync', window)
    time.sleep(0.5)
    return window

def copied(run):
    with sqlite3.connect(history) as db:
        row = db.execute('SELECT copied FROM copy_result WHERE run = ?', (run,)).fetchone()
    return row and row[0]

for s in (signal.SIGTERM, signal.SIGALRM): signal.signal(s, lambda signum, _: sys.exit(f'stopped by signal {signum}'))
signal.alarm(100)
try:
    shutil.copy(os.path.join(here, 'data/history-layout1.sqlite'), history)
    readable, writable = os.pipe()      # Xvfb takes a free display and says its number there
    start(['Xvfb', '-displayfd', str(writable), '-screen', '0', '1366x768x24', '-noreset'], pass_fds=[writable],
          stderr=subprocess.DEVNULL)
    os.close(writable)
    env = dict(os.environ, DISPLAY=':' + os.read(readable, 16).decode().strip(), LC_ALL='C.UTF-8')
    env.pop('QT_QPA_PLATFORM', None)
    start(['openbox'], env=env, stderr=subprocess.DEVNULL)
    time.sleep(1)

    # The earlier of the two runs (KMRSU AB/?= Á:-@9), copied with Á taken for A, lower case, on two lines.
    open_window('--score-copy', 'Vestranoli – a másolás pontozása')
    xdotool('key', 'alt+m', 'Down')
    xdotool('key', 'alt+v')
    xdotool('type', '--delay', '40', 'kmrsu ab/?=')
    xdotool('key', 'Return')
    xdotool('type', '--delay', '40', 'a:-@9')
    xdotool('key', 'Tab', 'space')
    wait_for('no result stored for run 1', 10, lambda: copied(1) == 'KMRSU AB/?= A:-@9')
    table = subprocess.run([os.path.join(build, 'vestranoli'), '--stats', '--text', '--data-dir', tmp],
                           capture_output=True, text=True).stdout
    if not any(line.startswith('Á') and 'vétel: A 1' in line for line in table.splitlines()):
        problems.append('the statistics do not show Á copied as A:\n' + table)

    # No lesson yet: one key starts lesson 1 (K M) for the trainer's next start.
    open_window('--course', 'Vestranoli – Koch-tanfolyam')
    xdotool('key', 'alt+k')
    ini = os.path.join(tmp, 'ini.txt')
    wait_for('no lesson 1 in ini.txt', 10, lambda: os.path.exists(ini) and open(ini, 'rb').read()
             == b'  M' + b' ' * 21 + b'K\r\n 60 5 30 50\r\n')
except RuntimeError as failure:
    problems.append(str(failure))
finally:
    signal.alarm(0)
    for p in reversed(procs):
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try: os.killpg(p.pid, sig), p.wait(5)
            except (ProcessLookupError, subprocess.TimeoutExpired): pass
if problems: sys.exit(f'copy scoring FAILED (files in {tmp}):\n  ' + '\n  '.join(problems))
shutil.rmtree(tmp)
print('copy scored and lesson 1 taken through the keyboard')
