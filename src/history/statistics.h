#pragma once

#include "history/history.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QTimeZone>

// How one character fared in the echo groups, counted over the groups'
// alignments.
struct CharacterStatistics {
    QChar character;
    int sent = 0;
    int right = 0;
    int dropped = 0;
    QMap<QChar, int> takenFor; // the other characters it was decoded as, and how often

    double shareRight() const { return sent > 0 ? double(right) / sent : 0.0; }
};

struct CharacterTable {
    QList<CharacterStatistics> characters; // worst first
    int extra = 0;                         // decoded characters that stood for no sent one
};

// Worst first: the lowest share right, then the most often sent.
CharacterTable characterStatistics(const QList<EchoGroupRecord> &groups);

// A character is among the weakest when less than this share of it (in per
// cent) was keyed back right, out of at least this many sent: a few groups
// say too little to practise a character for.
constexpr int weakBelowPercentRight = 90;
constexpr int weakFromSent = 10;

// Up to `count` of the weakest characters, worst first.
QList<QChar> weakestCharacters(const CharacterTable &table, int count);

// One day of echo groups, in the trainee's own time zone.
struct DayProgress {
    QDate day;
    int groups = 0;
    int sentCharacters = 0;
    int rightCharacters = 0;
    double speed = 0; // mean of the groups' speeds

    double shareRight() const { return sentCharacters > 0 ? double(rightCharacters) / sentCharacters : 0.0; }
};

QList<DayProgress> dailyProgress(const QList<EchoGroupRecord> &groups, const QTimeZone &zone);

// "E 3, I 1, kimaradt 2": what a character was taken for, most often first.
QString takenForText(const CharacterStatistics &character);

// The table as fixed-width text lines for the terminal, in Hungarian.
QString characterTableText(const CharacterTable &table);

// One line for each session since `since` (all of them for an invalid one)
// whose records did not all reach the history, in Hungarian: "A 2026.12.01.
// 18:05-kor kezdett gyakorlásból 31 oda-vissza csoport nem került az
// előzménybe."
QString lostRecordsText(const QList<LostRecords> &lost, const QDateTime &since, const QTimeZone &zone);
