// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

class QFocusEvent;

// A one-line text box. QLineEdit gives back exactly the text it was given,
// CR LF included, which is what the handlers count on. The length limit is
// lifted: the program decides how long its texts get.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);
    void appendText(const QString &more) { setText(text() + more); }

    // The name a screen reader reads the box by, with the text it shows.
    void setCaption(const QString &caption);

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    QString m_caption;
};

// The multi-line box with a vertical scroll bar. QPlainTextEdit keeps its
// lines apart with LF; this box keeps the text exactly as written, line
// breaks as CR LF, and shows it with LF.
class MultiLineTextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MultiLineTextBox(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    void appendText(const QString &more);

private:
    void editedByUser();

    QString m_text;
    bool m_writing = false;
};
