// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/reviewlist.h"

#include "common/morsetable.h"
#include "window/fistwords.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTimer>

namespace {

constexpr int groupsShown = 4;
constexpr int shownRole = Qt::UserRole; // an entry's rich text

// An entry drawn as the rich text it holds, wrapped to the list's width,
// with a rule below it.
class EntryDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        plain.state &= ~QStyle::State_Selected; // shown as ever; a focus frame marks the current entry
        plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        QTextDocument entry;
        layOut(entry, index, option.rect.width());
        painter->save();
        painter->translate(option.rect.topLeft());
        entry.documentLayout()->draw(painter, {});
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(0, option.rect.height() - 1, option.rect.width(), option.rect.height() - 1);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        QTextDocument entry;
        layOut(entry, index, static_cast<const QAbstractItemView *>(parent())->viewport()->width());
        return entry.size().toSize() + QSize(0, 1);
    }

private:
    static void layOut(QTextDocument &entry, const QModelIndex &index, int width)
    {
        entry.setDocumentMargin(2);
        entry.setHtml(index.data(shownRole).toString());
        entry.setTextWidth(width);
    }
};

QString red(const QString &text)
{
    return QStringLiteral("<span style=\"color:#c00000\"><b>%1</b></span>").arg(text.toHtmlEscaped());
}

} // namespace

ReviewList::ReviewList(QWidget *parent)
    : QListWidget(parent)
{
    setItemDelegate(new EntryDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setResizeMode(QListView::Adjust); // entries wrap anew to a new width
    setFocusPolicy(Qt::TabFocus);
    const QString empty = tr("Each echo group you key back is reviewed here.");
    addEntry(empty.toHtmlEscaped(), empty);
}

void ReviewList::addEntry(const QString &shown, const QString &words)
{
    auto *entry = new QListWidgetItem(this);
    entry->setData(shownRole, shown);
    entry->setData(Qt::AccessibleTextRole, words);
}

void ReviewList::addReview(const GroupReview &review, const std::optional<FistTiming> &timing)
{
    if (!m_reviews.isEmpty() && m_reviews.first().review.number == review.number)
        m_reviews.first() = {review, timing};
    else
        m_reviews.prepend({review, timing});
    while (m_reviews.size() > groupsShown)
        m_reviews.removeLast();
    clear();
    for (const Reviewed &r : std::as_const(m_reviews))
        addEntry(describe(r), inWords(r));
    if (hasFocus())
        setCurrentRow(0); // a screen reader says it; out of focus, the entry would take its focus from the key
    scrollToTop();
}

void ReviewList::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    if (currentRow() < 0)
        setCurrentRow(0);
    // Once the list is said to have the focus, its current entry: without
    // this a screen reader says the list and no entry until the next arrow key.
    QTimer::singleShot(0, this, [this] {
        if (!hasFocus() || currentRow() < 0)
            return;
        QAccessibleEvent entry(this, QAccessible::Focus);
        entry.setChild(currentRow());
        QAccessible::updateAccessibility(&entry);
    });
}

QString ReviewList::text() const
{
    QStringList shown;
    for (int row = 0; row < count(); ++row)
        shown << item(row)->data(shownRole).toString();
    return shown.join(QLatin1Char('\n'));
}

QString ReviewList::newestInWords() const
{
    return m_reviews.isEmpty() ? QString() : inWords(m_reviews.first());
}

QString ReviewList::inWords(const Reviewed &reviewed) const
{
    const GroupReview &review = reviewed.review;
    if (review.sent.trimmed().isEmpty())
        return nothingSent();
    QStringList words{
        tr("%1 keyed as %2: %3").arg(review.sent, review.received(), review.right() ? tr("right") : tr("wrong"))};
    words += notesOn(review, review.lineUp());
    words += timingNotes(reviewed);
    return words.join(QStringLiteral("; "));
}

// The group's timing and what is off in it.
QStringList ReviewList::timingNotes(const Reviewed &reviewed) const
{
    if (!reviewed.timing)
        return {};
    const FistWords words(locale());
    return QStringList{words.measures(*reviewed.timing)} + words.faults(*reviewed.timing);
}

QString ReviewList::describe(const Reviewed &reviewed) const
{
    const GroupReview &review = reviewed.review;
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
    const QStringList timing = timingNotes(reviewed);
    if (!timing.isEmpty()) {
        notes << timing.first().toHtmlEscaped();
        for (const QString &fault : timing.mid(1))
            notes << red(fault);
    }
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
