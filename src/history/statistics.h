// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/history.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QTimeZone>

#include <array>

// How often one character was sent in one half of training, and what
// became of it.
struct CharacterScore {
    int sent = 0;
    int right = 0;
    int dropped = 0;
    QMap<char32_t, int> takenFor; // the other characters it was taken for, and how often

    double shareRight() const { return sent > 0 ? double(right) / sent : 0.0; }
    void add(char32_t taken, char32_t sentCharacter, int count);
};

// One character in both halves: keyed back in echo groups (sending) and
// copied in scored copy runs (receiving).
struct CharacterStatistics {
    char32_t character = 0;
    CharacterScore keyed;
    CharacterScore copied;

    int sent() const { return keyed.sent + copied.sent; }
    int right() const { return keyed.right + copied.right; }
    double shareRight() const { return sent() > 0 ? double(right()) / sent() : 0.0; }
};

struct CharacterTable {
    QList<CharacterStatistics> characters; // worst first, both halves together
    int extraKeyed = 0; // keyed characters that stood for no sent one
    int extraCopied = 0; // copied ones likewise
};

// One day of training, in the trainee's own time zone.
struct DayProgress {
    QDate day;
    int echoGroups = 0;
    int copiedGroups = 0; // in scored copy runs
    CharacterScore keyed;
    CharacterScore copied;
    qint64 speedSum = 0; // over the groups of both kinds

    double speed() const
    {
        return echoGroups + copiedGroups > 0 ? double(speedSum) / (echoGroups + copiedGroups) : 0.0;
    }
};

// The steps receiving is told by, from the band the groups were played
// through: no noise (a clean band, or one with no noise set), its
// signal-to-noise ratio in steps of 5 dB, each with its lower bound, and a
// band not known (a hardware keyer, or a record from before bands were
// kept).
enum class NoiseStep { NoNoise, From20, From15, From10, From5, From0, FromMinus5, BelowMinus5, NotKnown };
constexpr int noiseStepCount = 9;
NoiseStep noiseStep(const std::optional<BandConditions> &conditions);
// "zaj nélkül", "+20 dB és fölötte", "+15 és +20 dB között", …
QString noiseStepName(NoiseStep step);

// What was received under one step: the echo groups keyed back, and the
// characters of scored copy runs.
struct NoiseScore {
    int echoGroups = 0;
    int goodEchoGroups = 0;
    int copiedSent = 0;
    int copiedRight = 0;

    bool empty() const { return echoGroups == 0 && copiedSent == 0; }
};
using NoiseTable = std::array<NoiseScore, noiseStepCount>; // by NoiseStep

struct TrainingStatistics {
    CharacterTable table;
    NoiseTable byNoise{};
    QList<DayProgress> days; // oldest first; left empty when not asked for
    int skippedGroups = 0; // echo groups longer than longestCountedGroup
};

// The trainer's echo groups have at most 15 characters; a longer one can
// only come from a damaged or edited history, and is left out of the
// statistics rather than lined up at any cost.
constexpr qsizetype longestCountedGroup = 250;

// The statistics of the history since `since` (all of it for an invalid
// one), read group by group: the memory they take does not grow with the
// history. Days are counted in `zone` when `byDay`.
TrainingStatistics trainingStatistics(const History &history, const QDateTime &since, bool byDay,
                                      const QTimeZone &zone = QTimeZone::systemTimeZone());

// A character is among the weakest when less than this share of it (in per
// cent) was right, keyed and copied together, out of at least this many
// sent: a few groups say too little to practise a character for.
constexpr int weakBelowPercentRight = 90;
constexpr int weakFromSent = 10;

// Up to `count` of the weakest characters, worst first.
QList<char32_t> weakestCharacters(const CharacterTable &table, int count);

// "E 3, I 1, kimaradt 2": what a character was taken for, most often first.
QString takenForText(const CharacterScore &score);
// The same for both halves: "adás: E 1; vétel: I 2".
QString takenForText(const CharacterStatistics &character);

// The table as fixed-width text lines for the terminal, in Hungarian.
QString characterTableText(const CharacterTable &table);
// The steps with something in them the same way, after a line naming the
// table; nothing when all are empty.
QString noiseTableText(const NoiseTable &table);

// "Kimaradt a statisztikából 2 oda-vissza csoport, mert 250 jelnél
// hosszabb.", or nothing when none was skipped.
QString skippedGroupsText(int skippedGroups);

// One line for each session since `since` (all of them for an invalid one)
// whose records did not all reach the history, in Hungarian: "A 2026.12.01.
// 18:05-kor kezdett gyakorlásból 31 oda-vissza csoport nem került az
// előzménybe."
QString lostRecordsText(const QList<LostRecords> &lost, const QDateTime &since, const QTimeZone &zone);
