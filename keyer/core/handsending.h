// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/morseplan.h"

#include <QRandomGenerator>

#include <vector>

// A group's segments as a hand sends them: each element lengthened by the
// weight (50 % even: at 60 % a dot sounds 1.2 dots and its gap 0.8) and the
// gap after it shortened by as much, then every element and gap off by a
// random amount with a standard deviation of `jitterPercent` of a dot. No
// element or gap becomes shorter than a fifth of a dot; the group keeps its
// start.
std::vector<ToneSegment> sentByHand(const std::vector<ToneSegment> &segments, double dotSamples, double jitterPercent,
                                    double weightPercent, QRandomGenerator &random);
