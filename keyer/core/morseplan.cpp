// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/morseplan.h"

#include "common/frames.h"
#include "common/morsetable.h"

#include <cmath>

double dotMilliseconds(int speed)
{
    return 6000.0 / speed;
}

Spacing farnsworthSpacing(int characterSpeed, int overallSpeed)
{
    if (characterSpeed <= overallSpeed || overallSpeed <= 0)
        return {};
    const double spacingDots = 50.0 * characterSpeed / overallSpeed - 31;
    return {spacingDots * 3 / 19, spacingDots * 7 / 19};
}

std::vector<ToneSegment> groupSegments(QStringView group, double dotSamples, QString *unknown, Spacing spacing)
{
    // First the group as runs of dots: tone or silence, n dots long.
    struct Run {
        bool tone;
        double dots;
    };
    std::vector<Run> runs;
    auto silence = [&runs](double dots) {
        if (!runs.empty() && !runs.back().tone)
            runs.back().dots += dots;
        else
            runs.push_back({false, dots});
    };

    bool afterCharacter = false;
    for (const QChar c : group) {
        if (c == QLatin1Char(' ')) {
            silence(spacing.wordGap);
            afterCharacter = false;
            continue;
        }
        const QString elements = elementsOf(c);
        if (elements.isEmpty()) {
            if (unknown)
                unknown->append(c);
            continue;
        }
        if (afterCharacter)
            silence(spacing.characterGap);
        for (qsizetype e = 0; e < elements.size(); ++e) {
            if (e > 0)
                silence(1);
            runs.push_back({true, elements[e] == QLatin1Char(KeyerText::dash) ? 3.0 : 1.0});
        }
        afterCharacter = true;
    }
    std::vector<ToneSegment> segments;
    double dots = 0;
    qint64 start = 0;
    for (const Run &run : runs) {
        dots += run.dots;
        const qint64 end = std::llround(dots * dotSamples);
        segments.push_back({run.tone, end - start});
        start = end;
    }
    return segments;
}
