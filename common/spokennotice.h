// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// What a screen reader says of itself, unasked: a result, a state that
// changed. Qt 6.4 has no announcement, and Orca 43 speaks neither a changed
// name nor a changed description that Qt 6.4 sends; but it speaks, whatever
// has the focus, an object with the role of a notification that becomes
// visible. This is that object: a widget of no size, out of every layout
// and Tab order, shown again with each text. Nothing else in the programs
// speaks to a screen reader unasked.
class SpokenNotice : public QWidget
{
    Q_OBJECT

public:
    explicit SpokenNotice(QWidget *parent);

    void say(const QString &text);
    QString text() const { return m_text; }

private:
    QString m_text;
};
