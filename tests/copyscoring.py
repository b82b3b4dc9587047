#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Scoring a copy as a trainee does it, with a megabyte pasted onto it, and starting the Koch
# course: keys through XTEST (xdotool) on Xvfb with openbox, into a history the previous release
# wrote.  Usage: copyscoring.py BUILD_DIR
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
from desktop import end_all, start, stop_after, wait_for, xvfb

build, here = os.path.abspath(sys.argv[1]), os.path.dirname(os.path.abspath(__file__))
tmp, problems = tempfile.mkdtemp(prefix='vestranoli-copy.'), []
history = os.path.join(tmp, 'history.sqlite')


def xdotool(*args):
    done = subprocess.run(['xdotool', *args], env=env, capture_output=True, text=True)
    return done.stdout.split()


def open_window(option, title):  # the window, active, with the keyboard
    start([os.path.join(build, 'vestranoli'), option, '--data-dir', tmp], env=env,
          stdout=subprocess.DEVNULL)
    window = wait_for(f'no window "{title}"', 20, lambda: xdotool('search', '--name', title))[0]
    xdotool('windowactivate', '--sync', window)
    time.sleep(0.5)
    return window


def copied(run):
    with sqlite3.connect(history) as db:
        row = db.execute('SELECT copied FROM copy_result WHERE run = ?', (run,)).fetchone()
    return row and row[0]


stop_after(100)
try:
    shutil.copy(os.path.join(here, 'data/history-layout1.sqlite'), history)
    env = dict(os.environ, DISPLAY=xvfb(), LC_ALL='C.UTF-8')
    env.pop('QT_QPA_PLATFORM', None)
    start(['openbox'], env=env, stderr=subprocess.DEVNULL)
    time.sleep(1)

    # The earlier of the two runs (KMRSU AB/?= Á:-@9), copied with Á taken for A, lower case, on
    # two lines. A megabyte pasted onto the end is refused at once; what was typed stays, and the
    # window goes on taking keys. (Scoring it through the keyboard alone is screenreader.py's.)
    open_window('--score-copy', 'Vestranoli – a másolás pontozása')
    xdotool('key', 'alt+m', 'Down')
    xdotool('key', 'alt+v')
    xdotool('type', '--delay', '40', 'kmrsu ab/?=')
    xdotool('key', 'Return')
    xdotool('type', '--delay', '40', 'a:-@9')
    paste = os.path.join(tmp, 'paste.txt')
    with open(paste, 'w') as f:
        f.write('KMRSU ' * 174763)
    start(['xclip', '-selection', 'clipboard', '-i', paste], env=env)
    time.sleep(0.5)
    xdotool('key', 'ctrl+End', 'ctrl+v')
    xdotool('type', '--delay', '40', ' x')
    xdotool('key', 'Tab', 'Return')  # Enter on the focused button scores, as Space does
    wait_for('the copy after a large paste not stored', 10,
             lambda: copied(1) == 'KMRSU AB/?= A:-@9 X')

    # No lesson yet: one key starts lesson 1 (K M) for the trainer's next start.
    open_window('--course', 'Vestranoli – Koch-tanfolyam')
    xdotool('key', 'alt+k')
    ini = os.path.join(tmp, 'ini.txt')
    lesson_1 = b'  M' + b' ' * 21 + b'K\r\n 60 5 30 50\r\n'
    wait_for('no lesson 1 in ini.txt', 10,
             lambda: os.path.exists(ini) and open(ini, 'rb').read() == lesson_1)
except RuntimeError as failure:
    problems.append(str(failure))
finally:
    end_all()
if problems:
    sys.exit(f'copy scoring FAILED (files in {tmp}):\n  ' + '\n  '.join(problems))
shutil.rmtree(tmp)
print('copy scored through the keyboard, a large paste refused, lesson 1 taken')
