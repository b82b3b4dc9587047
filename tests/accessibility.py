#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader finds: the trainer, the keyer and the statistics window read through AT-SPI, on Xvfb with a
# private D-Bus session; the keyer keys an echo run back by itself.  Usage: accessibility.py BUILD_DIR
import os, subprocess, sys, tempfile, time
from desktop import end_all, start, stop_after, wait_for, xvfb
build, tmp, here = os.path.abspath(sys.argv[1]), tempfile.mkdtemp(prefix='vestranoli-a11y.'), os.path.dirname(__file__)
problems = []

def frame(title):        # the top-level window whose name starts with title, in any application
    for app in filter(None, pyatspi.Registry.getDesktop(0)):
        for w in filter(None, app):
            if (w.name or '').startswith(title): return w

def controls(node):      # every interactive control under node: (role, name, description, states)
    found = []
    for child in filter(None, node):
        if child.getRole() in INTERACTIVE:
            found.append((child.getRoleName(), child.name, child.description, child.getState()))
        found += controls(child)
    return found

def check(window, want, key_area=False):   # every control named; the names in want there, with their roles
    seen = controls(window)
    for role, name, _, _ in seen:
        if not name.strip(): problems.append(f'{window.name}: a {role} without a name')
    names = {name: role for role, name, _, _ in seen}
    for name in want:
        if name not in names: problems.append(f'{window.name}: no control named "{name}" (named: {sorted(names)})')
    return {name: states for _, name, _, states in seen}

stop_after(100)
try:
    display = xvfb()
    bus = start(['dbus-daemon', '--session', '--nofork', '--print-address'], stdout=subprocess.PIPE, text=True,
                stderr=subprocess.DEVNULL)
    os.environ.update(DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=bus.stdout.readline().strip(),
                      XDG_CONFIG_HOME=tmp, XDG_DATA_HOME=tmp, XDG_RUNTIME_DIR=tmp)
    start(['/usr/libexec/at-spi-bus-launcher'])
    start(['/usr/libexec/at-spi2-registryd'])
    sys.path.append('/usr/lib/python3/dist-packages')   # Debian's python3-pyatspi, when another python3 is first
    import pyatspi
    INTERACTIVE = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
                   pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST}
    env = dict(os.environ, QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', VESTRANOLI_BUILD=build,
               LC_ALL='C.UTF-8')   # the keyer in English, whatever the desktop's language
    start([os.path.join(here, '../scripts/train-with-software-keyer'), '--auto-echo', '--', '--data-dir', tmp],
          env=env, stdout=subprocess.DEVNULL)
    trainer = wait_for('no trainer window in the AT-SPI tree', 30, lambda: frame('Vestranoli Morse-gyakorló'))
    keyer = wait_for('no keyer window in the AT-SPI tree', 30, lambda: frame('Vestranoli keyer'))
    wait_for('the trainer never said "Kapcsolat OK"', 20, lambda: any(
        d == 'Kapcsolat OK' for _, n, d, _ in controls(trainer) + [('', c.name, c.description, 0) for c in trainer]))
    settings = [n + s for n in ('Betűk száma', 'Csoportok', 'Sebesség', 'Szünet') for s in ('', ' +', ' -')]
    check(trainer, settings + ['jó csoportok', 'rossz csoportok', 'Az adott csoport', 'Vett szöveg', 'A', 'Z', '0',
                               '?', 'Mind kijelölés', 'Oda - Vissza', 'Start', 'Kilép'])
    check(keyer, ['Tone', 'Volume'])
    key = wait_for('no key area', 5, lambda: pyatspi.findDescendant(keyer, lambda n: n.name == 'Key'))
    if key.getRoleName() in ('unknown', 'invalid', 'filler', 'panel') or not key.getState().contains(pyatspi.STATE_FOCUSABLE):
        problems.append(f'the key area is exposed as a {key.getRoleName()}, {key.getState().getStates()}')
    for name in ('Line', 'Mode', 'Speed', 'Pause', 'Your keying', 'Review of the groups keyed back'):
        if not pyatspi.findDescendant(keyer, lambda n: n.name == name): problems.append(f'keyer: nothing named "{name}"')
    before = (trainer.description, key.description)
    window_id = subprocess.run(['xdotool', 'search', '--name', '^Vestranoli Morse'], capture_output=True,
                               text=True).stdout.split()[0]
    for x, y in ((68, 456), (176, 456)):   # "Mind kijelölés", then "Oda - Vissza"
        subprocess.run(['xdotool', 'mousemove', '--window', window_id, str(x), str(y), 'click', '1'], check=True)
        time.sleep(0.5)
    wait_for('no score in the trainer window\'s description', 30, lambda: 'jó csoportok: ' in trainer.description)
    wait_for('no review in the key area\'s description', 10, lambda: ' keyed as ' in key.description)
    print(f'trainer window: "{trainer.description}" (was "{before[0]}")\nkey area, a {key.getRoleName()}: "{key.description}" '
          f'(was "{before[1]}")', flush=True)
    start([os.path.join(build, 'vestranoli'), '--stats', '--data-dir', tmp], env=env, stdout=subprocess.DEVNULL)
    stats = wait_for('no statistics window in the AT-SPI tree', 20, lambda: frame('Vestranoli – statisztika'))
    states = check(stats, ['Időszak', 'Exportálás CSV-be…', 'Jelek statisztikája', 'A leggyengébb jelek'])
    for name in ('Exportálás CSV-be…', 'Jelek statisztikája', 'A leggyengébb jelek'):
        if name in states and not states[name].contains(pyatspi.STATE_FOCUSABLE): problems.append(f'{name}: Tab skips it')
    if not pyatspi.findDescendant(stats, lambda n: n.name == 'Haladás naponta'): problems.append('no chart named')
    start([os.path.join(build, 'vestranoli'), '--score-copy', '--data-dir', tmp], env=env, stdout=subprocess.DEVNULL)
    scoring = wait_for('no copy-scoring window in the AT-SPI tree', 20, lambda: frame('Vestranoli – a másolás pontozása'))
    check(scoring, ['Másolások', 'Az Ön vétele', 'Pontozás', 'Jelenként'])
except RuntimeError as failure:
    problems.append(str(failure))
finally:
    end_all()
if problems: sys.exit(f'accessibility FAILED (files in {tmp}):\n  ' + '\n  '.join(problems))
