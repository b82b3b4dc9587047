// SPDX-License-Identifier: GPL-3.0-or-later
// How well the keying classifier reads a trainee's straight key: synthetic
// echo runs of random five-letter groups over the 47 training characters,
// keyed with uneven timing, fed to the classifier and, when the build found
// libcw, to libcw's adaptive receiver beside it.
//
// Per condition it prints the share of characters wrong (edit distance
// between the group keyed and the group read, over all characters keyed)
// and the share of stalled groups (fewer characters read than keyed: the
// trainer would wait for the rest). Set speed 60 letters per minute (dot
// 100 ms); between groups the trainee listens for three seconds.

#include "common/morsetable.h"
#include "core/keyingclassifier.h"

#include <QHash>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#ifdef HAVE_LIBCW
#include <libcw2.h>
#endif

namespace {

constexpr double setDot = 100;
constexpr int groups = 2000;
constexpr int groupSize = 5;
constexpr double listenMs = 3000;

struct Condition {
    const char *name;
    double jitter; // sigma of each length, as a share of it
    double speed; // trainee's speed over the set speed
    double letterGap; // letter gaps this many times their length
    bool speedChanges; // 1, 1.4 and 0.7 times the set speed, a third of the run each
};

struct Press {
    double down;
    double up;
};

struct Group {
    QString keyed;
    double start = 0;
    std::vector<Press> presses;
};

std::vector<Group> keyRun(const Condition &c, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, c.jitter);
    const auto &table = morseTable();
    std::uniform_int_distribution<int> pick(0, int(table.size()) - 1);
    auto length = [&](double dots, double dot) {
        return std::max(0.05, dots * (1 + gauss(random))) * dot;
    };

    std::vector<Group> run;
    double t = 0;
    for (int g = 0; g < groups; ++g) {
        double speed = c.speed;
        if (c.speedChanges)
            speed = g < groups / 3 ? 1.0 : g < 2 * groups / 3 ? 1.4 : 0.7;
        const double dot = setDot / speed;
        Group group;
        t += listenMs;
        group.start = t;
        for (int i = 0; i < groupSize; ++i) {
            const MorseEntry &entry = table[pick(random)];
            group.keyed += QChar(entry.character);
            const QString elements = QString::fromUtf16(entry.elements);
            if (i > 0)
                t += length(3 * c.letterGap, dot);
            for (qsizetype e = 0; e < elements.size(); ++e) {
                if (e > 0)
                    t += length(1, dot);
                const double down = t;
                t += length(elements[e] == QLatin1Char('H') ? 3 : 1, dot);
                group.presses.push_back({down, t});
            }
        }
        run.push_back(group);
    }
    return run;
}

// The character keyed as `elements`, "#" for none, as the trainer reads it.
QChar decode(const QString &elements)
{
    static const QHash<QString, QChar> characters = [] {
        QHash<QString, QChar> byElements;
        for (const MorseEntry &entry : morseTable())
            byElements.insert(QString::fromUtf16(entry.elements), QChar(entry.character));
        return byElements;
    }();
    return characters.value(elements, QChar(u'#'));
}

int editDistance(const QString &a, const QString &b)
{
    std::vector<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

struct Score {
    double charactersWrong = 0; // share
    double groupsStalled = 0; // share
};

// `read[g]` holds what was read while group g was being keyed.
Score score(const std::vector<Group> &run, const std::vector<QString> &read)
{
    int wrong = 0;
    int stalled = 0;
    for (size_t g = 0; g < run.size(); ++g) {
        wrong += editDistance(run[g].keyed, read[g]);
        if (read[g].size() < run[g].keyed.size())
            ++stalled;
    }
    return {double(wrong) / (groups * groupSize), double(stalled) / groups};
}

Score classifierScore(const std::vector<Group> &run)
{
    KeyingClassifier classifier(setDot);
    std::vector<QString> read(run.size());
    QString elements;
    size_t current = 0;
    auto take = [&](const QList<KeyReport> &reports) {
        for (const KeyReport &r : reports) {
            if (r.letter != 'V') {
                elements += QLatin1Char(r.letter);
                continue;
            }
            read[current] += decode(elements);
            elements.clear();
        }
    };
    for (size_t g = 0; g < run.size(); ++g) {
        take(classifier.advanceTo(run[g].start));
        current = g;
        for (const Press &p : run[g].presses) {
            take(classifier.press(p.down));
            take(classifier.release(p.up));
        }
    }
    take(classifier.advanceTo(run.back().presses.back().up + listenMs));
    return score(run, read);
}

#ifdef HAVE_LIBCW
timeval at(double ms)
{
    const long long us = (long long)(ms * 1000);
    return {time_t(us / 1000000), suseconds_t(us % 1000000)};
}

Score libcwScore(const std::vector<Group> &run)
{
    cw_rec_t *rec = cw_rec_new();
    cw_rec_set_speed(rec, int(6000 / setDot / 5)); // words per minute
    cw_rec_enable_adaptive_mode(rec);
    std::vector<QString> read(run.size());
    size_t current = 0;
    // Asked just before each press, as a program polling it would have
    // found it by then.
    auto poll = [&](double ms) {
        const timeval ts = at(ms);
        char representation[64] = {0};
        bool endOfWord = false;
        bool error = false;
        if (cw_rec_poll_representation(rec, &ts, representation, &endOfWord, &error) != CW_SUCCESS)
            return;
        QString elements;
        for (const char *p = representation; *p; ++p)
            elements += QLatin1Char(*p == '-' ? 'H' : 'R');
        read[current] += error ? QChar(u'#') : decode(elements);
        cw_rec_reset_state(rec);
    };
    for (size_t g = 0; g < run.size(); ++g) {
        poll(run[g].start);
        current = g;
        for (const Press &p : run[g].presses) {
            poll(p.down - 0.001);
            const timeval down = at(p.down);
            const timeval up = at(p.up);
            cw_rec_mark_begin(rec, &down);
            cw_rec_mark_end(rec, &up);
        }
    }
    poll(run.back().presses.back().up + listenMs);
    cw_rec_delete(&rec);
    return score(run, read);
}
#endif

} // namespace

int main()
{
    const Condition conditions[] = {
        {"even keying", 0, 1, 1, false},
        {"jitter 10 %", 0.1, 1, 1, false},
        {"jitter 20 %", 0.2, 1, 1, false},
        {"jitter 30 %", 0.3, 1, 1, false},
        {"0.7 x set speed, jitter 10 %", 0.1, 0.7, 1, false},
        {"1.4 x set speed, jitter 10 %", 0.1, 1.4, 1, false},
        {"speed 1 / 1.4 / 0.7 x, jitter 10 %", 0.1, 1, 1, true},
        {"letter gaps 2 x, jitter 10 %", 0.1, 1, 2, false},
        {"letter gaps 3 x, jitter 10 %", 0.1, 1, 3, false},
    };
    std::printf("%d groups of %d per condition, set speed 60 (dot %.0f ms)\n\n", groups, groupSize, setDot);
#ifdef HAVE_LIBCW
    std::printf("| Condition | chars wrong | groups stalled | libcw chars wrong | libcw groups stalled |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
#else
    std::printf("| Condition | chars wrong | groups stalled |\n|---|---:|---:|\n");
#endif
    unsigned seed = 1;
    for (const Condition &c : conditions) {
        const std::vector<Group> run = keyRun(c, seed++);
        const Score ours = classifierScore(run);
        std::printf("| %s | %.2f %% | %.2f %% |", c.name, 100 * ours.charactersWrong, 100 * ours.groupsStalled);
#ifdef HAVE_LIBCW
        const Score theirs = libcwScore(run);
        std::printf(" %.2f %% | %.2f %% |", 100 * theirs.charactersWrong, 100 * theirs.groupsStalled);
#endif
        std::printf("\n");
    }
    return 0;
}
