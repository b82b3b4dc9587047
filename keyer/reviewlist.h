// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

    // A review of the newest group replaces the one shown for it.
    void addReview(const GroupReview &review);

    // The newest review as a screen reader says it: plain text, one sentence.
    QString newestInWords() const;
    // What the list shows, the entries' rich text one after another.
    QString text() const;

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    QString nothingSent() const;
    QString inWords(const GroupReview &review) const;
    QString describe(const GroupReview &review) const;
    QStringList notesOn(const GroupReview &review, const QList<ReviewedCharacter> &places) const;

    void addEntry(const QString &shown, const QString &words);

    QList<GroupReview> m_reviews;
};
