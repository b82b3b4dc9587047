// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/handsending.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double shortest = 0.2; // of a dot

double gaussian(QRandomGenerator &random)
{
    const double u = 1 - random.generateDouble(); // (0, 1]
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * random.generateDouble());
}

} // namespace

std::vector<ToneSegment> sentByHand(const std::vector<ToneSegment> &segments, double dotSamples, double jitterPercent,
                                    double weightPercent, QRandomGenerator &random)
{
    const double weight = (weightPercent / 50 - 1) * dotSamples;
    std::vector<double> lengths;
    for (size_t i = 0; i < segments.size(); ++i) {
        double length = double(segments[i].samples);
        if (segments[i].tone)
            length += weight;
        else if (i > 0 && segments[i - 1].tone)
            length -= weight;
        lengths.push_back(length);
    }
    std::vector<ToneSegment> sent = segments;
    for (size_t i = 0; i < sent.size(); ++i) {
        const double length = lengths[i] + jitterPercent / 100 * dotSamples * gaussian(random);
        sent[i].samples = std::llround(std::max(length, shortest * dotSamples));
    }
    return sent;
}
