#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# TERM, HUP and INT to the launcher (or HUP to the trainer itself) in a fast echo run, the keyer keying back, while
# another program holds the history with BEGIN EXCLUSIVE: the groups waiting are written once it lets go, or said lost
# and noted in history-lost.txt; the folder's lock and the keyer's line go.  Usage: endonsignal.py BUILD_DIR
import os, re, shutil, signal, sqlite3, subprocess, sys, tempfile, time
from desktop import end_all, start, stop_after, wait_for, xvfb

build, problems = os.path.abspath(sys.argv[1]), []
launcher = os.path.join(os.path.dirname(os.path.abspath(__file__)), '../scripts/train-with-software-keyer')
stop_after(100)
try:
    env = dict(os.environ, DISPLAY=xvfb(), QT_QPA_PLATFORM='xcb', VESTRANOLI_BUILD=build)
    for sig, to_trainer, let_go in ((signal.SIGTERM, False, True), (signal.SIGHUP, True, False),
                                    (signal.SIGINT, False, False)):
        case = f'{signal.Signals(sig).name} to the {"trainer" if to_trainer else "launcher"}'
        tmp = tempfile.mkdtemp(prefix='vestranoli-signal.')
        said, lock = os.path.join(tmp, 'stderr.txt'), os.path.join(tmp, 'vestranoli.lock')
        with open(os.path.join(tmp, 'ini.txt'), 'wb') as ini: ini.write(b'TEMS\r\n 60 5 30 50\r\n')
        run = start([launcher, '--fast', '--headless', '--auto-echo', '--', '--data-dir', tmp],
                    env=dict(env, TMPDIR=tmp), stderr=open(said, 'w'))
        trainer = wait_for('no trainer window', 20, lambda: subprocess.run(
            ['xdotool', 'search', '--onlyvisible', '--name', 'Vestranoli'], env=env, capture_output=True).stdout.split())
        wait_for('no "Kapcsolat OK"', 20, lambda: 'the trainer answered' in open(said).read())
        history = sqlite3.connect(os.path.join(tmp, 'history.sqlite'), isolation_level=None)
        history.execute('BEGIN EXCLUSIVE')
        subprocess.run(['xdotool', 'mousemove', '--window', trainer[0], '176', '456', 'click', '1'], env=env)  # Oda - Vissza
        wait_for(f'{case}: no group waiting', 20, lambda: 'cannot write the training history' in open(said).read())
        time.sleep(1)    # more of them
        os.kill(int(open(lock).readline()) if to_trainer else run.pid, sig)
        if let_go: history.execute('ROLLBACK')
        status = run.wait(20)
        history.close()
        text = open(said).read()
        written = re.search(r'takes writes again; (\d+) echo groups? written now', text)
        lost = re.search(r'lost from this session: (\d+) echo groups?', text)
        rows = sqlite3.connect(os.path.join(tmp, 'history.sqlite')).execute('SELECT count(*) FROM echo_group').fetchone()[0]
        noted = os.path.join(tmp, 'history-lost.txt')
        note = open(noted, newline='').read() if os.path.exists(noted) else ''
        print(f'{case}: status {status}, {rows} groups in the history; '
              + (f'{written[1]} written after the lock' if written else f'{lost[1] if lost else "no"} said lost')
              + (f', noted: {note.splitlines()[-1]}' if note else ''), flush=True)
        if status != (0 if to_trainer else 128 + sig): problems.append(f'{case}: exit status {status}')
        if let_go and not (written and int(written[1]) == rows > 0 and not note):
            problems.append(f'{case}: the waiting groups were not written:\n{text}')
        if not let_go and not (lost and rows == 0 and note.endswith(f' {lost[1]} 0\r\n')):
            problems.append(f'{case}: the waiting groups were not said lost and noted:\n{text}')
        if os.path.exists(lock) or any(n.startswith('vestranoli-keyer.') for n in os.listdir(tmp)):
            problems.append(f'{case}: the trainer\'s lock or the keyer\'s line is left: {os.listdir(tmp)}')
        shutil.rmtree(tmp)
except (RuntimeError, OSError, sqlite3.Error, subprocess.TimeoutExpired) as failure:
    problems.append(str(failure))
finally:
    end_all()
if problems: sys.exit('ending on a signal FAILED:\n  ' + '\n  '.join(problems))
print('the trainer ends on TERM, HUP and INT as when its window closes')
