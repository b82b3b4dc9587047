#include "core/morseplan.h"

#include "common/morsetable.h"

#include <cmath>

double dotMilliseconds(int speed)
{
    return 6000.0 / speed;
}

std::vector<ToneSegment> groupSegments(QStringView group, double dotSamples, QString *unknown)
{
    // First the group as runs of dots: tone or silence, n dots long.
    struct Run {
        bool tone;
        int dots;
    };
    std::vector<Run> runs;
    auto silence = [&runs](int dots) {
        if (!runs.empty() && !runs.back().tone)
            runs.back().dots += dots;
        else
            runs.push_back({false, dots});
    };

    bool afterCharacter = false;
    for (const QChar c : group) {
        if (c == QLatin1Char(' ')) {
            silence(afterCharacter ? 4 : 7);
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
            silence(3);
        for (qsizetype e = 0; e < elements.size(); ++e) {
            if (e > 0)
                silence(1);
            runs.push_back({true, elements[e] == QLatin1Char('H') ? 3 : 1});
        }
        afterCharacter = true;
    }
    std::vector<ToneSegment> segments;
    qint64 dots = 0;
    qint64 start = 0;
    for (const Run &run : runs) {
        dots += run.dots;
        const qint64 end = std::llround(dots * dotSamples);
        segments.push_back({run.tone, end - start});
        start = end;
    }
    return segments;
}
