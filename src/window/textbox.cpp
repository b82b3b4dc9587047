// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/textbox.h"

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
