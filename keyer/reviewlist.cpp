// SPDX-License-Identifier: GPL-3.0-or-later
#include "reviewlist.h"

#include "common/morsetable.h"

namespace {

constexpr int groupsShown = 4;

QString red(const QString &text)
{
    return QStringLiteral("<span style=\"color:#c00000\"><b>%1</b></span>").arg(text.toHtmlEscaped());
}

} // namespace

ReviewList::ReviewList(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(tr("Each echo group you key back is reviewed here."));
    // Reached by Tab; a screen reader reads it by its name, each review in
    // words, the newest first.
    setTextInteractionFlags(Qt::TextSelectableByKeyboard); // this alone gives the focus to clicks only
    setFocusPolicy(Qt::TabFocus);
}

void ReviewList::addReview(const GroupReview &review)
{
    if (!m_reviews.isEmpty() && m_reviews.first().number == review.number)
        m_reviews.first() = review;
    else
        m_reviews.prepend(review);
    while (m_reviews.size() > groupsShown)
        m_reviews.removeLast();
    QStringList parts;
    for (const GroupReview &r : std::as_const(m_reviews))
        parts << QStringLiteral("<div>%1</div>").arg(describe(r)); // a block each: no blank line after a rule
    setText(parts.join(QStringLiteral("<hr>")));
    QStringList words;
    for (const GroupReview &r : std::as_const(m_reviews))
        words << inWords(r);
    setAccessibleName(words.join(QStringLiteral(". ")));
}

QString ReviewList::newestInWords() const
{
    return m_reviews.isEmpty() ? QString() : inWords(m_reviews.first());
}

QString ReviewList::inWords(const GroupReview &review) const
{
    if (review.sent.trimmed().isEmpty())
        return nothingSent();
    QStringList words{tr("%1 keyed as %2: %3")
                          .arg(review.sent, review.received(), review.right() ? tr("right") : tr("wrong"))};
    words += notesOn(review, review.lineUp());
    return words.join(QStringLiteral("; "));
}

QString ReviewList::describe(const GroupReview &review) const
{
    // Two rows in a fixed-width font, a column per place of the line-up: the
    // group sent above, what was keyed below; a gap where there is nothing.
    if (review.sent.trimmed().isEmpty())
        return nothingSent().toHtmlEscaped();
    const QList<ReviewedCharacter> places = review.lineUp();
    QString sentRow;
    QString keyedRow;
    for (const ReviewedCharacter &c : places) {
        const QString sent = c.sent.isNull() ? QStringLiteral("&nbsp;") : QString(c.sent).toHtmlEscaped();
        const QString keyed = c.keyed.isNull() ? QStringLiteral("_") : QString(c.keyed);
        sentRow += sent + QStringLiteral("&nbsp;");
        keyedRow += (c.right() && c.counted ? keyed.toHtmlEscaped() : red(keyed)) + QStringLiteral("&nbsp;");
    }
    QStringList notes;
    for (const QString &note : notesOn(review, places))
        notes << note.toHtmlEscaped();
    const QString verdict = review.right() ? tr("right") : red(tr("wrong"));
    notes.prepend(QStringLiteral("<tt>%1<br>%2</tt> %3").arg(sentRow, keyedRow, verdict));
    return notes.join(QStringLiteral("<br>"));
}

// A group of blanks: the trainer has nothing ticked, and sends blanks
// where characters would stand.
QString ReviewList::nothingSent() const
{
    return tr("No characters were sent: tick the characters to practise in the trainer's window.");
}

// What went wrong in a group, a note per place, in plain text.
QStringList ReviewList::notesOn(const GroupReview &review, const QList<ReviewedCharacter> &places) const
{
    QStringList notes;
    for (const ReviewedCharacter &c : places) {
        const QString sentMorse = elementSigns(elementsOf(c.sent));
        const QString keyedMorse = elementSigns(c.keyedElements);
        QString note;
        if (c.keyed.isNull())
            note = tr("%1 %2 left out").arg(c.sent).arg(sentMorse);
        else if (c.sent.isNull())
            note = tr("extra %1 %2").arg(c.keyed).arg(keyedMorse);
        else if (!c.right())
            note = tr("%1 %2 keyed as %3 %4").arg(c.sent).arg(sentMorse).arg(c.keyed).arg(keyedMorse);
        if (c.keyed == QLatin1Char('#'))
            note += tr(" (# is no Morse character)");
        if (!c.counted)
            note += (note.isEmpty() ? QString(c.keyed) : QString()) + tr(" keyed after the group: not counted");
        if (!note.isEmpty())
            notes << note;
    }
    if (review.givenUp > 0)
        notes << tr("characters not keyed: %1 (after your silence the keyer sent # for each)").arg(review.givenUp);
    return notes;
}
