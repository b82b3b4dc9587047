// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/fisttiming.h"
#include "core/groupreview.h"

#include <QListWidget>

// The last few echo groups, newest first: the group sent and what was keyed
// back lined up character by character, each wrong one with its elements as
// sent and as keyed, and a "#" explained. A screen reader moves through
// them as list entries, each read in words.
class ReviewList : public QListWidget
{
    Q_OBJECT

public:
    explicit ReviewList(QWidget *parent = nullptr);

    // A review of the newest group replaces the one shown for it; the
    // group's timing, where it was timed, is shown with it.
    void addReview(const GroupReview &review, const std::optional<FistTiming> &timing = std::nullopt);

    // The newest review as a screen reader says it: plain text, one sentence.
    QString newestInWords() const;
    // What the list shows, the entries' rich text one after another.
    QString text() const;

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    QString nothingSent() const;
    struct Reviewed {
        GroupReview review;
        std::optional<FistTiming> timing;
    };
    QString inWords(const Reviewed &reviewed) const;
    QString describe(const Reviewed &reviewed) const;
    QStringList timingNotes(const Reviewed &reviewed) const;
    QStringList notesOn(const GroupReview &review, const QList<ReviewedCharacter> &places) const;

    void addEntry(const QString &shown, const QString &words);

    QList<Reviewed> m_reviews;
};
