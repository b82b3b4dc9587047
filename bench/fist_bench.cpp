// SPDX-License-Identifier: GPL-3.0-or-later
// What the keyer's timing says of synthetic trainees: echo runs of random
// five-letter groups over the 26 letters, keyed with a known fault, read by
// the keying classifier as the keyer reads a straight key, and measured as
// the keyer window shows each group. Per trainee it prints each measure's
// mean over the run and the share of groups in which each is pointed out.
// Set speed 60 letters per minute (dot 100 ms).

#include "common/morsetable.h"
#include "core/fisttiming.h"
#include "core/keyingclassifier.h"

#include <QString>

#include <cstdio>
#include <random>

namespace {

constexpr double setDot = 100;
constexpr int groups = 500;
constexpr int groupSize = 5;

struct Trainee {
    const char *name;
    double jitter = 0; // sigma of each length, as a share of it
    double dash = 3; // in dots
    double letterGap = 3; // in dots
    double speedUp = 0; // the group's last character this much faster than its first
    double longGap = 1; // the first gap inside every character, in dots
};

struct Run {
    int timed = 0;
    int right = 0;
    double sums[FistMeasureCount] = {};
    int counts[FistMeasureCount] = {};
    int marked[FistMeasureCount] = {};
    int charactersMarked = 0;
};

Run keyRun(const Trainee &trainee, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, trainee.jitter);
    std::uniform_int_distribution<int> pick(0, 25); // A to Z
    const auto stretch = [&](double dots, double dot) {
        return std::max(0.1, dots * (1 + gauss(random))) * dot;
    };
    KeyingClassifier classifier(setDot);
    Run run;
    double t = 1000;
    for (int g = 0; g < groups; ++g) {
        GroupReview review{g + 1, {}, {}, 0};
        QString elements;
        QList<KeyedMark> marks;
        const auto take = [&](const QList<KeyReport> &reports) {
            for (const KeyReport &r : reports) {
                if (r.letter != 'V') {
                    elements += QLatin1Char(r.letter);
                    marks.append({r.from, r.to, false});
                    continue;
                }
                review.keyed.append({elements, true, marks});
                elements.clear();
                marks.clear();
            }
        };
        for (int i = 0; i < groupSize; ++i) {
            const MorseEntry &entry = morseTable()[size_t(pick(random))];
            review.sent += QChar(entry.character);
            const double dot = setDot / (1 + trainee.speedUp * i / (groupSize - 1));
            const QString code = QString::fromUtf16(entry.elements);
            for (qsizetype e = 0; e < code.size(); ++e) {
                if (e > 0)
                    t += stretch(e == 1 ? trainee.longGap : 1, dot);
                take(classifier.press(t));
                t += stretch(code[e] == QLatin1Char('H') ? trainee.dash : 1, dot);
                take(classifier.release(t));
            }
            t += i + 1 < groupSize ? stretch(trainee.letterGap, dot) : 0;
        }
        t += 3000; // listening to the next group
        take(classifier.advanceTo(t));
        run.right += review.received() == review.sent;
        const std::optional<FistTiming> timing = measureFist(review, 60);
        if (!timing)
            continue;
        ++run.timed;
        for (int m = 0; m < FistMeasureCount; ++m) {
            if (const auto value = fistMeasure(*timing, m)) {
                run.sums[m] += value->keyed;
                ++run.counts[m];
                run.marked[m] += value->off();
            }
        }
        for (const CharacterTiming &c : timing->characters)
            run.charactersMarked += (c.dash && c.dash->off()) || (c.elementGap && c.elementGap->off());
    }
    return run;
}

} // namespace

int main()
{
    const Trainee trainees[] = {
        {"even, no jitter"},
        {"10 % jitter", 0.1},
        {"20 % jitter, dashes 2.2 dots", 0.2, 2.2},
        {"letter gaps 1.5 dots", 0.05, 3, 1.5},
        {"speeding up 20 % a group", 0.05, 3, 3, 0.2},
        {"a 1.7-dot pause in each letter", 0.05, 3, 3, 0, 1.7},
    };
    const char *names[] = {"lpm", "dash", "in", "between", "word", "speed-up"};
    std::printf("%-32s %6s", "trainee", "right");
    for (int m = 0; m < FistMeasureCount; ++m) {
        if (m != WordGap)
            std::printf(" %9s", names[m]);
    }
    std::printf(" | groups marked: %s\n", "lpm dash in between speed-up, characters");
    for (const Trainee &trainee : trainees) {
        const Run run = keyRun(trainee, 7);
        std::printf("%-32s %5.1f%%", trainee.name, 100.0 * run.right / groups);
        for (int m = 0; m < FistMeasureCount; ++m) {
            if (m != WordGap)
                std::printf(" %9.2f", run.counts[m] ? run.sums[m] / run.counts[m] : 0.0);
        }
        std::printf(" |");
        for (int m = 0; m < FistMeasureCount; ++m) {
            if (m != WordGap)
                std::printf(" %3.0f%%", run.counts[m] ? 100.0 * run.marked[m] / run.counts[m] : 0.0);
        }
        std::printf(", %d of %d\n", run.charactersMarked, run.timed * groupSize);
    }
}
