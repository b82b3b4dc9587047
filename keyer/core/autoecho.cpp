// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/autoecho.h"

#include "common/frames.h"
#include "common/morsetable.h"

#include <cmath>

namespace {

QString wrongCharacter(QChar right, QRandomGenerator &random)
{
    const auto &table = morseTable();
    for (;;) {
        const MorseEntry &entry = table[random.bounded(int(table.size()))];
        if (QChar(entry.character) != right)
            return QString(QChar(entry.character));
    }
}

} // namespace

EchoPlan planEcho(QStringView group, double dotSamples, double errorRate, QRandomGenerator &random)
{
    auto vary = [&random](double from, double to) {
        return from + (to - from) * random.generateDouble();
    };

    EchoPlan plan;
    // Key presses in dots from the start of the plan; a moment to react first.
    struct Press {
        double down;
        double up;
    };
    std::vector<Press> presses;
    double t = vary(2.0, 4.0);
    for (const QChar c : group) {
        QString character(c);
        if (random.generateDouble() < errorRate)
            character = wrongCharacter(c, random);
        QString elements = elementsOf(character[0]);
        if (elements.isEmpty())
            elements = QStringLiteral("RRRRRRRR");
        plan.keyed += character;

        for (qsizetype e = 0; e < elements.size(); ++e) {
            if (e > 0)
                t += vary(0.8, 1.4);
            const double length = elements[e] == QLatin1Char(KeyerText::dash) ? vary(2.7, 3.4) : vary(0.8, 1.25);
            presses.push_back({t, t + length});
            t += length;
        }
        t += vary(3.8, 4.8);
    }

    KeyingClassifier classifier(dotSamples);
    qint64 position = 0;
    for (const Press &p : presses) {
        const qint64 down = std::llround(p.down * dotSamples);
        const qint64 up = std::llround(p.up * dotSamples);
        plan.segments.push_back({false, down - position});
        plan.segments.push_back({true, up - down});
        position = up;
        plan.reports += classifier.press(double(down));
        plan.reports += classifier.release(double(up));
    }
    while (const auto due = classifier.nextDue()) {
        plan.reports += classifier.advanceTo(*due);
        plan.length = qint64(std::ceil(*due));
    }
    if (plan.length > position)
        plan.segments.push_back({false, plan.length - position});
    return plan;
}
