// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/history.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Koch's method: characters at full speed from the start, two of them in the
// first lesson and one more in each after it, the next one added once those
// learnt are copied right often enough.
//
// The order is LCWO's, which is well tried, for the 40 characters it shares
// with this trainer (it teaches a comma, which this trainer has not). The
// seven this trainer adds come last: Á É Ö Ü first, as Hungarian text
// needs them more often than : - @.
QString kochOrder();

constexpr int firstLesson = 1;
constexpr int lastLesson = 46;

// Lesson N: the first N + 1 characters of the order.
QString lessonCharacters(int lesson);

// The lesson whose characters are exactly the selection of the settings
// file's first line; 0 when it is none.
int lessonOfSelection(const QString &selectionLine);

// The settings file's first line selecting the characters of `lesson`, as
// the trainer writes it.
QString lessonSelectionLine(int lesson);

// How a lesson's characters are copied lately: the newest scored copy runs
// are taken until a character has `recentSamples` samples, or there are no
// more runs.
constexpr int recentSamples = 50;

struct LessonCharacter {
    QChar character;
    int copied = 0; // how often it was sent in the recent runs
    int right = 0; // copied right
    bool passed = false;
};

struct LessonStanding {
    int lesson = 0;
    QList<LessonCharacter> characters; // newest first
    bool passed = false;
};

// Passed: every character copied right at `percentRight` or better, over at
// least `minimumSamples` recent samples.
LessonStanding lessonStanding(int lesson, const History &history, int percentRight, int minimumSamples);

// The settings file with its first line changed to `selectionLine`, its
// other lines kept byte for byte; a missing or one-line file gets the
// trainer's default parameters as its second line.
QByteArray settingsWithSelection(const QByteArray &file, const QString &selectionLine);

// An ordinal with its Hungarian article, as a number is read aloud: "az 1.",
// "a 2.", "az 5.", "a 15.", "az 50.".
QString ordinalWithArticle(int number);
