// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"
#include "core/iambic.h"
#include "core/keylines.h"

#include <QString>
#include <QStringList>

struct KeyerOptions {
    QString link; // symbolic link to the line's device, empty for none
    bool autoEcho = false; // key echo groups back without a trainee
    double errorRate = 0; // chance of a wrong character when keying back by itself
    bool fast = false; // no real-time waits, no sound
    bool headless = false; // no window
    QString wav; // record everything played, empty for none
    double tone = 600; // sidetone in Hz
    int speed = 60; // until the trainer sends one
    int charSpeed = 0; // characters played at this speed, gaps stretched (Farnsworth); 0: none
    int pause = 50; // hundredths of a second, until the trainer sends one
    IambicKeyer::Mode iambic = IambicKeyer::Mode::B; // how the paddles behave
    QString keyDevice; // a serial adapter with a key on its modem lines, empty for none
    KeyLineMap keyLines; // which of its lines are which key, and their polarity
    BandConditions band; // what the played groups are heard through
    quint64 bandSeed = 0; // of the band's noise and stations; 0: a new one each start
};

struct KeyerCommandLine {
    enum Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Run;
    KeyerOptions options;
    QString message; // help text, version line, or why the line was refused
};

KeyerCommandLine parseKeyerCommandLine(const QStringList &arguments);
