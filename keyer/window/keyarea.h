// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QFrame>

// The key: a mouse press on it is a straight key held down. It also takes
// the keyboard focus, so that the keys key in the window. The click that
// brings the window to the keyboard only does that: it does not key.
class KeyArea : public QFrame
{
    Q_OBJECT

public:
    explicit KeyArea(QWidget *parent = nullptr);

    // Lit while the sidetone sounds.
    void setLit(bool lit);

    // What to do now, read with the key by a screen reader when it asks:
    // it is not sent to it as a change, which would come with every element.
    void setStateText(const QString &text) { m_stateText = text; }
    QString stateText() const { return m_stateText; }

signals:
    // At `atNs` on the monotonic clock (eventStamp).
    void pressed(qint64 atNs);
    void released(qint64 atNs);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_stateText;
    bool m_lit = false;
    bool m_mouseDown = false;
    QElapsedTimer m_activated; // since the window last became active
};
