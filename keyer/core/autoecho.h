// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/keyingclassifier.h"
#include "core/morseplan.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringView>

#include <vector>

// A trainee played by the keyer: keys a group back as a person would, a
// little uneven. Every element, gap and character space varies a few tenths
// of a dot around its length, always well clear of the limits the keying
// classifier starts from (about 1.6 dots between short and long, and
// between element gap and letter gap).
struct EchoPlan {
    QString keyed; // the characters keyed
    std::vector<ToneSegment> segments; // the sidetone, from the start of the plan
    QList<KeyReport> reports; // `at` in samples from the start of the plan
    qint64 length = 0; // samples up to the last character end
};

// `errorRate` is the chance for each character to be keyed as a different
// one. A character with no Morse code is keyed as the error sign (eight
// dots), which the trainer cannot decode either.
EchoPlan planEcho(QStringView group, double dotSamples, double errorRate, QRandomGenerator &random);
