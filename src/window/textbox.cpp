// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/textbox.h"

#include <QFocusEvent>
#include <QTextCursor>

#include <limits>

namespace {

QString forDisplay(QString text)
{
    return text.remove(QLatin1Char('\r'));
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
}

// Tab puts the cursor in the box without selecting its text: Orca read the
// selection Qt 6.4 makes before the focus comes cut short ("6 selected" for
// 60), and then "unselected" on the way out.
void TextBox::focusInEvent(QFocusEvent *event)
{
    QFocusEvent entered(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&entered);
}

// Orca reads a box's line of text from Qt 6.4 as empty: a box named by a
// caption is read by its name, which carries its text, as "Sebesség 60".
// Called once a box.
void TextBox::setCaption(const QString &caption)
{
    m_caption = caption;
    setAccessibleName(caption + QLatin1Char(' ') + text());
    connect(this, &QLineEdit::textChanged, this, [this] { setAccessibleName(m_caption + QLatin1Char(' ') + text()); });
}

MultiLineTextBox::MultiLineTextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::textChanged, this, &MultiLineTextBox::editedByUser);
}

void MultiLineTextBox::setText(const QString &text)
{
    m_writing = true;
    m_text = text;
    setPlainText(forDisplay(text));
    m_writing = false;
}

void MultiLineTextBox::appendText(const QString &more)
{
    if (more.isEmpty())
        return;
    m_writing = true;
    m_text += more;
    // Appending at the end keeps long listings cheap: nothing is laid out
    // again but the new text.
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(forDisplay(more));
    m_writing = false;
}

void MultiLineTextBox::editedByUser()
{
    if (m_writing)
        return;
    m_text = toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}
